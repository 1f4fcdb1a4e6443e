// The PNG decoder: pixel layout and what it refuses.
#include "draw/png_decode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

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
