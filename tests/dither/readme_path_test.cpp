#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "dither/editor/dither_editor.h"

namespace {

[[nodiscard]] bool Touch(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "wb");
  return file != nullptr && std::fclose(file) == 0;
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

}  // namespace

TEST(ReadmePath, TheReadMeBesideTheBinaryOrInTheBundlesResources) {
  char folder[] = "/tmp/qv-readme-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string root = folder;
  // A VST 3 bundle: the binary in Contents/x86_64-linux/, the read-me in
  // Contents/Resources/.
  const std::string binaries = root + "/Contents/x86_64-linux/";
  ASSERT_EQ(system(("mkdir -p " + binaries + " " + root + "/Contents/Resources").c_str()), 0);
  ASSERT_TRUE(Touch(root + "/Contents/Resources/Quorvane_README.txt"));
  const std::string inBundle = ReadmePath(binaries);
  EXPECT_TRUE(Exists(inBundle)) << inBundle;
  // Beside the binary, as the VST 2.x plug-in and the LV2 bundle keep it.
  ASSERT_TRUE(Touch(binaries + "Quorvane_README.txt"));
  EXPECT_EQ(ReadmePath(binaries), binaries + "Quorvane_README.txt");
  ASSERT_EQ(system(("rm -rf " + root).c_str()), 0);
}
