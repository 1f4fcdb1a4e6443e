#include "plug/plug_identity.h"

namespace {

const char* const kClapFeatures[] = {"audio-effect", "mastering", "utility", "stereo", nullptr};

const PlugIdentity kIdentity{
    "Quorvane",
    "Varek",
    "Word-length reduction with dither and noise shaping",
    1000,
    0x7172766E,  // 'qrvn'
    {0x9751A2F0, 0x46C047CA, 0x9736D1D8, 0xC6AEA8B6},
    "Fx",
    "com.varek.quorvane",
    kClapFeatures,
    "urn:varek:quorvane",
    "urn:varek:quorvane#ui",
    "urn:varek:quorvane#preset-",
    "com.varek.quorvane.programs",
};

}  // namespace

const PlugIdentity& PluginIdentity() { return kIdentity; }
