#include "tools/quorvane/temporary_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "tests/quorvane/scratch.h"

// The writers store with pwrite as well as write: the write-back follows the
// file's size, not its offset, so that the sync at the end has little left.
TEST(TemporaryFile, WritebackFollowsWhatWasStoredHoweverItWasStored) {
  ScratchFolder folder;
  TemporaryFile file;
  std::string error;
  ASSERT_TRUE(file.Create(folder.path + "/out.wav", error)) << error;
  const std::string piece(1 << 20, 'x');
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(pwrite(file.Descriptor(), piece.data(), piece.size(), i * piece.size()),
              static_cast<ssize_t>(piece.size()));
  }
  file.StartWriteback(2 << 20);
  EXPECT_EQ(file.WritebackRequested(), 3 << 20);
  // Less than asked for since the last call: nothing more yet.
  ASSERT_EQ(lseek(file.Descriptor(), 0, SEEK_END), 3 << 20);
  ASSERT_EQ(write(file.Descriptor(), piece.data(), piece.size()),
            static_cast<ssize_t>(piece.size()));
  file.StartWriteback(2 << 20);
  EXPECT_EQ(file.WritebackRequested(), 3 << 20);
  ASSERT_EQ(pwrite(file.Descriptor(), piece.data(), piece.size(), 4 * piece.size()),
            static_cast<ssize_t>(piece.size()));
  file.StartWriteback(2 << 20);
  EXPECT_EQ(file.WritebackRequested(), 5 << 20);
  file.Discard();
}
