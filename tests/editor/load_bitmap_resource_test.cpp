// The editor's pictures: through the host's loader, or decoded by the
// library itself when the host has none.
#include "editor/load_bitmap_resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "draw/blit.h"
#include "core/module.h"
#include "draw/test_bitmap.h"
#include "editor/host_image.h"

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

void* LookupWithLoader(const char* name) {
  if (std::strcmp(name, "LICE_LoadPNGFromResource") == 0)
    return reinterpret_cast<void*>(&FakeLoader);
  return nullptr;
}

class LoadBitmapResourceTest : public ::testing::Test {
 protected:
  void TearDown() override { SetHostFunctionLookup(nullptr); }
};

}  // namespace

TEST_F(LoadBitmapResourceTest, HostLoaderObjectIsReadThroughItsOwnSlots) {
  SetHostFunctionLookup(&LookupWithLoader);
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
  SetHostFunctionLookup(&LookupWithLoader);
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
