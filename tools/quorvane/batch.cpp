#include "tools/quorvane/batch.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

#include <sys/stat.h>

namespace {

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A file's name with its extension, if any, replaced by `extension`.
std::string WithExtension(const std::string& name, const std::string& extension) {
  const size_t dot = name.find_last_of('.');
  const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  return stem + "." + extension;
}

// A file's identity: device and inode, following links. False when the
// file does not exist.
bool Identity(const std::string& path, std::pair<dev_t, ino_t>& identity) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return false;
  identity = {status.st_dev, status.st_ino};
  return true;
}

// Why job `index` must not run, or empty: its output is written by an
// earlier job too (by name or, existing, by identity), or is an input of the
// run other than its own (its own is refused when it runs, with that reason).
std::vector<std::string> Conflicts(const std::vector<FileJob>& jobs) {
  std::set<std::pair<dev_t, ino_t>> inputs;
  std::pair<dev_t, ino_t> identity;
  for (const FileJob& job : jobs) {
    if (Identity(job.input, identity)) inputs.insert(identity);
  }
  std::vector<std::string> conflicts(jobs.size());
  std::set<std::string> names;
  std::set<std::pair<dev_t, ino_t>> outputs;
  for (size_t i = 0; i < jobs.size(); ++i) {
    const std::string& output = jobs[i].output;
    const bool exists = Identity(output, identity);
    std::pair<dev_t, ino_t> own;
    const bool isOwnInput = exists && Identity(jobs[i].input, own) && own == identity;
    if (!names.insert(output).second || (exists && !outputs.insert(identity).second)) {
      conflicts[i] = "another input of this run also writes " + output;
    } else if (exists && !isOwnInput && inputs.count(identity) != 0) {
      conflicts[i] = "refusing to write " + output + ": it is an input of this run";
    }
  }
  return conflicts;
}

// Outcomes in job order, filled by the workers.
class Outcomes {
 public:
  explicit Outcomes(size_t count) : outcomes(count), ready(count, false) {}

  void Set(size_t index, FileOutcome outcome) {
    {
      std::lock_guard<std::mutex> guard(mutex);
      outcomes[index] = std::move(outcome);
      ready[index] = true;
    }
    changed.notify_all();
  }

  // Waits up to `wait` for outcome `index`; true when it is there.
  bool WaitFor(size_t index, std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, wait, [&] { return ready[index]; });
  }

  const FileOutcome& At(size_t index) {
    std::lock_guard<std::mutex> guard(mutex);
    return outcomes[index];
  }

 private:
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<FileOutcome> outcomes;
  std::vector<bool> ready;
};

}  // namespace

std::vector<FileJob> JobsForOutdir(const std::vector<std::string>& inputs,
                                   const std::string& outdir, const std::string& format) {
  std::vector<FileJob> jobs;
  const std::string folder = outdir.back() == '/' ? outdir : outdir + "/";
  for (const std::string& input : inputs) {
    const std::string name = FileName(input);
    jobs.push_back({input, folder + (format.empty() ? name : WithExtension(name, format))});
  }
  return jobs;
}

uint32_t FileSeed(uint32_t seed, size_t position) {
  if (position == 0) return seed;
  // The position mixed into the seed by a bijective hash (MurmurHash3's
  // finaliser), which scatters neighbouring positions over the whole range,
  // far from the seeds a file's channel pairs take next to its own.
  uint32_t h = seed ^ (static_cast<uint32_t>(position) * 0x85EBCA77u);
  h ^= h >> 16;
  h *= 0x85EBCA6Bu;
  h ^= h >> 13;
  h *= 0xC2B2AE35u;
  return h ^ (h >> 16);
}

void RunBatch(const std::vector<FileJob>& jobs, const ToolOptions& options, uint32_t seed,
              int workers, Progress& progress,
              const std::function<void(size_t, const FileOutcome&)>& report,
              const std::function<void()>& idle) {
  Outcomes outcomes(jobs.size());
  const std::vector<std::string> conflicts = Conflicts(jobs);

  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i; (i = next++) < jobs.size();) {
      FileOutcome outcome;
      if (!conflicts[i].empty()) {
        outcome.problem = conflicts[i];
      } else {
        outcome = DitherFile(jobs[i], options, FileSeed(seed, i), progress);
      }
      outcomes.Set(i, std::move(outcome));
    }
  };
  std::vector<std::thread> threads;
  const size_t count = std::min(jobs.size(), static_cast<size_t>(workers > 0 ? workers : 1));
  for (size_t t = 0; t < count; ++t) threads.emplace_back(work);
  for (size_t i = 0; i < jobs.size(); ++i) {
    while (!outcomes.WaitFor(i, std::chrono::milliseconds(200))) idle();
    report(i, outcomes.At(i));
  }
  for (std::thread& thread : threads) thread.join();
}
