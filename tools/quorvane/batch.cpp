#include "tools/quorvane/batch.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace {

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
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
                                   const std::string& outdir) {
  std::vector<FileJob> jobs;
  const std::string folder = outdir.back() == '/' ? outdir : outdir + "/";
  for (const std::string& input : inputs) jobs.push_back({input, folder + FileName(input)});
  return jobs;
}

void RunBatch(const std::vector<FileJob>& jobs, const ToolOptions& options, uint32_t seed,
              int workers, Progress& progress,
              const std::function<void(size_t, const FileOutcome&)>& report,
              const std::function<void()>& idle) {
  Outcomes outcomes(jobs.size());
  std::vector<bool> duplicate(jobs.size(), false);
  std::set<std::string> outputs;
  for (size_t i = 0; i < jobs.size(); ++i) duplicate[i] = !outputs.insert(jobs[i].output).second;

  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i; (i = next++) < jobs.size();) {
      FileOutcome outcome;
      if (duplicate[i]) {
        outcome.problem = "another input of this run also writes " + jobs[i].output;
      } else {
        outcome = DitherFile(jobs[i], options, seed, progress);
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
