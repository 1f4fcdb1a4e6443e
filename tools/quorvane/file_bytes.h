// Writing and copying bytes at given offsets, whatever pwrite and pread do
// at a time: interrupted, or doing less than asked.
#pragma once

#include <cstddef>
#include <cstdint>

// Writes `size` bytes at `at` of `descriptor`. False, with `failure` set to
// the errno, when writing fails.
bool WriteAt(int descriptor, const void* bytes, size_t size, int64_t at, int& failure);

// Copies `size` bytes from `offset` of `from` to `at` of `to`, a piece of at
// most 1 MiB at a time: what is copied never decides the memory taken.
bool CopyAt(int from, int64_t offset, int64_t size, int to, int64_t at, int& failure);
