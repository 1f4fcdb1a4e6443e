// Several files at once: one worker thread per core takes the next file in
// turn; the outcomes are handed on in input order as they become ready.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/quorvane/file_job.h"

// The output of each input under --outdir: DIR/<input's file name>, with
// its extension replaced by `format` when that is not empty.
std::vector<FileJob> JobsForOutdir(const std::vector<std::string>& inputs,
                                   const std::string& outdir, const std::string& format);

// The seed of the file at `position` (from 0) of a batch seeded with `seed`:
// the first file takes the batch's seed itself, as a single file does, and
// every other file a seed of its own, so that no two files of a batch carry
// the same dither. Each is reported, so that any file can be made again
// alone with --seed.
uint32_t FileSeed(uint32_t seed, size_t position);

// Runs `jobs` on up to `workers` threads, job i with FileSeed(seed, i). `report` is called on the
// calling thread once per job, in job order; `idle` is called there about five times a second while
// it waits (for the progress display). Jobs whose output another job of the run also writes, or
// whose output is an input of the run (the same file, by device and inode, whatever its name), fail
// without being started.
void RunBatch(const std::vector<FileJob>& jobs, const ToolOptions& options, uint32_t seed,
              int workers, Progress& progress,
              const std::function<void(size_t, const FileOutcome&)>& report,
              const std::function<void()>& idle);
