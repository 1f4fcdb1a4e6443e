// The editor's pictures: through the host's loader, or decoded by the
// library itself when the host has none.
#include "draw/load_bitmap_resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "draw/blit.h"
#include "draw/host_image.h"
#include "host/host_services.h"
#include "host/module.h"
#include "test_bitmap.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace {

// ---- A host with a PNG loader, its image objects built slot by slot ----

struct FakeImage {
  HostImage base;  // first: the host's object starts with its table
  uint32_t pixels[6] = {1, 2, 3, 4, 5, 6};
};

int destroyedWithFlags = -1;
void* loaderModule = reinterpret_cast<void*>(1);
int loaderId = 0;
HostImage* loaderInto = reinterpret_cast<HostImage*>(1);
bool loaderAnswersNull = false;

FakeImage* AsFake(HostImage* self) { return reinterpret_cast<FakeImage*>(self); }

// Every slot answers something different, so reading the wrong one shows.
const HostImageSlots kFakeSlots = {
    [](HostImage* self, unsigned int flags) -> void* {
      destroyedWithFlags = static_cast<int>(flags);
      delete AsFake(self);
      return nullptr;
    },
    [](HostImage* self) { return AsFake(self)->pixels; },
    [](HostImage*) { return 3; },  // width
    [](HostImage*) { return 2; },  // height
    [](HostImage*) { return 3; },  // row span
    [](HostImage*) { return false; },
    [](HostImage*, int, int) { return false; },
};

HostImage* QV_CDECL FakeLoader(void* module, int resourceId, HostImage* into) {
  loaderModule = module;
  loaderId = resourceId;
  loaderInto = into;
  if (loaderAnswersNull) return nullptr;
  FakeImage* image = new FakeImage;
  image->base.slots = &kFakeSlots;
  return &image->base;
}

intptr_t QV_CDECL HostWithLoader(EffectRecord* effect, int32_t opcode, int32_t index, intptr_t,
                                 void* ptr, float) {
  if (!effect && opcode == kHostExtensionOpcode && index == kHostExtensionIndex &&
      std::strcmp(static_cast<const char*>(ptr), "LICE_LoadPNGFromResource") == 0)
    return reinterpret_cast<intptr_t>(&FakeLoader);
  return 0;
}

class LoadBitmapResourceTest : public ::testing::Test {
 protected:
  void TearDown() override { SetHostCallback(nullptr); }
};

}  // namespace

TEST_F(LoadBitmapResourceTest, HostLoaderObjectIsReadThroughItsOwnSlots) {
  SetHostCallback(&HostWithLoader);
  destroyedWithFlags = -1;
  loaderAnswersNull = false;
  int width = -1, height = -1;
  std::unique_ptr<Bitmap> image = LoadBitmapResource(102, &width, &height);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(loaderModule, ModuleHandle());
  EXPECT_EQ(loaderId, 102);
  EXPECT_EQ(loaderInto, nullptr);
  EXPECT_EQ(width, 3);
  EXPECT_EQ(height, 2);
  TestBitmap dest(3, 2, 0);
  Blit(&dest, image.get(), 0, 0, nullptr, 1.0f, kBlendCopy);
  EXPECT_EQ(dest.At(2, 1), 6u);
  image.reset();
  EXPECT_EQ(destroyedWithFlags, 1);  // the deleting destructor, asked to free
}

TEST_F(LoadBitmapResourceTest, HostLoaderAnsweringNullGivesNoImageAndZeroSize) {
  SetHostCallback(&HostWithLoader);
  loaderAnswersNull = true;
  int width = -1, height = -1;
  EXPECT_EQ(LoadBitmapResource(101, &width, &height), nullptr);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
  loaderAnswersNull = false;
}

TEST_F(LoadBitmapResourceTest, WithoutAHostLoaderTheLibraryDecodesItsOwnImages) {
  const int expected[][3] = {{101, 500, 1050}, {102, 31, 31}, {103, 8, 16}};
  for (const auto& e : expected) {
    int width = 0, height = 0;
    std::unique_ptr<Bitmap> image = LoadBitmapResource(e[0], &width, &height);
    ASSERT_NE(image, nullptr) << e[0];
    EXPECT_EQ(width, e[1]);
    EXPECT_EQ(height, e[2]);
    EXPECT_EQ(image->RowSpan(), e[1]);
    EXPECT_FALSE(image->IsFlipped());
  }
  // The background has no alpha channel: every pixel comes out opaque.
  int width = 0, height = 0;
  std::unique_ptr<Bitmap> background = LoadBitmapResource(101, &width, &height);
  for (int i = 0; i < width * height; ++i) ASSERT_EQ(background->Bits()[i] >> 24, 255u) << i;
  EXPECT_EQ(LoadBitmapResource(104, &width, &height), nullptr);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
}

TEST(DecodePng, PixelsArePackedBlueGreenRedAlphaAndNotPremultiplied) {
  const unsigned char rgba[] = {0x11, 0x22, 0x33, 0x44, 0xFF, 0x00, 0x80, 0x00,
                                0x01, 0x02, 0x03, 0xFF, 0x00, 0x00, 0x00, 0x00};
  std::vector<uint8_t> png;
  ASSERT_TRUE(stbi_write_png_to_func(
      [](void* context, void* data, int size) {
        auto* out = static_cast<std::vector<uint8_t>*>(context);
        out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
      },
      &png, 2, 2, 4, rgba, 8));
  std::unique_ptr<MemoryBitmap> image = DecodePng(png.data(), png.size());
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->Width(), 2);
  ASSERT_EQ(image->Height(), 2);
  EXPECT_EQ(image->Bits()[0], 0x44112233u);
  EXPECT_EQ(image->Bits()[1], 0x00FF0080u);  // colour kept at alpha 0
  EXPECT_EQ(image->Bits()[2], 0xFF010203u);
  unsigned char bytes[4];
  std::memcpy(bytes, image->Bits(), 4);
  EXPECT_EQ(bytes[0], 0x33);  // blue first
  EXPECT_EQ(bytes[3], 0x44);  // alpha last
}

TEST(DecodePng, BytesThatAreNoPngGiveNothing) {
  const uint8_t junk[] = {0x89, 'P', 'N', 'G', 0, 1, 2, 3, 4, 5};
  EXPECT_EQ(DecodePng(junk, sizeof junk), nullptr);
  EXPECT_EQ(DecodePng(nullptr, 100), nullptr);
}
