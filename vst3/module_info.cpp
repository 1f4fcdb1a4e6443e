#include "vst3/module_info.h"

#include <cstdio>
#include <cstring>

namespace vst3 {

namespace {

// A JSON string of a fixed-size text field, which may lack its terminator.
template <size_t N>
std::string Quoted(const char (&field)[N]) {
  std::string out = "\"";
  for (size_t i = 0; i < N && field[i] != '\0'; ++i) {
    const auto c = static_cast<unsigned char>(field[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string Quoted(const std::string& text) {
  char field[256] = {};
  std::strncpy(field, text.c_str(), sizeof field - 1);
  return Quoted(field);
}

const char* Flag(int32_t flags, int32_t flag) { return (flags & flag) != 0 ? "true" : "false"; }

// The sub-categories, one string each ("Fx|Tools" is two).
std::string SubCategories(const char (&field)[128]) {
  std::string list;
  std::string name;
  for (size_t i = 0; i <= sizeof field; ++i) {
    const char c = i < sizeof field ? field[i] : '\0';
    if (c != '|' && c != '\0') {
      name += c;
      continue;
    }
    if (!name.empty()) list += (list.empty() ? "" : ", ") + Quoted(name);
    name.clear();
    if (c == '\0') break;
  }
  return "[" + list + "]";
}

}  // namespace

std::string ClassIdText(const Tuid& id) {
#if defined(_WIN32)
  // COM order: the first three groups are stored little-endian.
  const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
#else
  const int order[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
#endif
  std::string text;
  for (int i : order) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(id.bytes[i]));
    text += hex;
  }
  return text;
}

std::string ModuleInfoJson(IPluginFactory2& factory, const std::string& moduleName) {
  PFactoryInfo info{};
  if (factory.getFactoryInfo(&info) != kResultOk) return std::string();
  std::string classes;
  std::string version;
  for (int32_t i = 0; i < factory.countClasses(); ++i) {
    PClassInfo2 c{};
    if (factory.getClassInfo2(i, &c) != kResultOk) continue;
    if (version.empty()) version = Quoted(c.version);
    if (!classes.empty()) classes += ",\n";
    classes += "    {\n";
    classes += "      \"CID\": \"" + ClassIdText(c.cid) + "\",\n";
    classes += "      \"Category\": " + Quoted(c.category) + ",\n";
    classes += "      \"Name\": " + Quoted(c.name) + ",\n";
    classes += "      \"Vendor\": " + Quoted(c.vendor) + ",\n";
    classes += "      \"Version\": " + Quoted(c.version) + ",\n";
    classes += "      \"SDKVersion\": " + Quoted(c.sdkVersion) + ",\n";
    classes += "      \"Sub Categories\": " + SubCategories(c.subCategories) + ",\n";
    classes += "      \"Class Flags\": " + std::to_string(c.classFlags) + ",\n";
    classes += "      \"Cardinality\": " + std::to_string(c.cardinality) + ",\n";
    classes += "      \"Snapshots\": []\n";
    classes += "    }";
  }
  if (classes.empty()) return std::string();
  std::string json = "{\n";
  json += "  \"Name\": " + Quoted(moduleName) + ",\n";
  json += "  \"Version\": " + version + ",\n";
  json += "  \"Factory Info\": {\n";
  json += "    \"Vendor\": " + Quoted(info.vendor) + ",\n";
  json += "    \"URL\": " + Quoted(info.url) + ",\n";
  json += "    \"E-Mail\": " + Quoted(info.email) + ",\n";
  json += "    \"Flags\": {\n";
  json += std::string("      \"Unicode\": ") + Flag(info.flags, kUnicode) + ",\n";
  json += std::string("      \"Classes Discardable\": ") + Flag(info.flags, kClassesDiscardable) +
          ",\n";
  json += std::string("      \"Component Non Discardable\": ") +
          Flag(info.flags, kComponentNonDiscardable) + "\n";
  json += "    }\n";
  json += "  },\n";
  json += "  \"Classes\": [\n" + classes + "\n  ]\n";
  json += "}\n";
  return json;
}

}  // namespace vst3
