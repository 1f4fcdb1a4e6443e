// quorvane: dithers audio files with the plug-in's requantiser.
//
//   quorvane [options] INPUT -o OUTPUT
//   quorvane [options] INPUT... --outdir DIR
//
// Report lines go to stdout, problems and progress to stderr. The exit
// status is 0 when every file was written, 1 when any failed, 2 for a bad
// command line.
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include "tools/quorvane/batch.h"
#include "tools/quorvane/interrupt.h"
#include "tools/quorvane/output_format.h"
#include "tools/quorvane/pair_engine.h"
#include "tools/quorvane/report.h"

namespace {

constexpr const char* kVersion = "quorvane 1.0 (the Quorvane 1000 plug-in's engine)";

// One line of progress on a terminal, rewritten in place.
class ProgressLine {
 public:
  ProgressLine(bool shown, size_t files) : shown(shown), files(files) {}

  void Update(const Progress& progress, size_t finished) {
    if (!shown) return;
    const int64_t total = progress.total.load();
    const int64_t done = progress.done.load();
    const int percent = total > 0 ? static_cast<int>(100 * done / total) : 0;
    std::fprintf(stderr, "\r%zu/%zu files, %d%%\033[K", finished, files, percent);
    visible = true;
  }

  void Clear() {
    if (visible) std::fprintf(stderr, "\r\033[K");
    visible = false;
  }

 private:
  bool shown;
  size_t files;
  bool visible = false;
};

// Every output's format, from its extension, can hold the settings; with
// --format, a single output's name must say that format too.
bool CheckOutputFormats(const std::vector<FileJob>& jobs, const ToolOptions& options,
                        std::string& error) {
  OutputFormat format;
  for (const FileJob& job : jobs) {
    if (!ChooseOutputFormat(job.output, options.settings.bits, options.floatOutput, format, error))
      return false;
  }
  if (options.format.empty()) return true;
  OutputFormat wanted;
  if (!ChooseOutputFormat("output." + options.format, options.settings.bits, options.floatOutput,
                          wanted, error)) {
    return false;
  }
  for (const FileJob& job : jobs) {
    (void)ChooseOutputFormat(job.output, options.settings.bits, options.floatOutput, format, error);
    if ((format.sndfileFormat & SF_FORMAT_TYPEMASK) !=
        (wanted.sndfileFormat & SF_FORMAT_TYPEMASK)) {
      error = job.output + " does not end in ." + options.format + ", the format asked for";
      return false;
    }
  }
  return true;
}

// Makes `folder` and any missing folder above it, as mkdir -p does.
bool MakeFolder(const std::string& folder, std::string& error) {
  for (size_t at = 1; at <= folder.size(); ++at) {
    if (at < folder.size() && folder[at] != '/') continue;
    const std::string part = folder.substr(0, at);
    struct stat status;
    if (stat(part.c_str(), &status) == 0) {
      if (S_ISDIR(status.st_mode)) continue;
      error = "cannot make the folder " + folder + ": " + part + " is not a folder";
      return false;
    }
    if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
      error = "cannot make the folder " + folder + ": " + std::strerror(errno);
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  InstallInterruptCleanup();
  const std::vector<ProgramEntry> programs = PairEngine::Programs();
  ToolOptions options;
  std::string error;
  switch (ParseOptions(argc, argv, programs, options, error)) {
    case ParseOutcome::kHelp: std::fputs(HelpText(programs).c_str(), stdout); return 0;
    case ParseOutcome::kVersion: std::puts(kVersion); return 0;
    case ParseOutcome::kError: std::fprintf(stderr, "quorvane: %s\n", error.c_str()); return 2;
    case ParseOutcome::kRun: break;
  }

  const std::vector<FileJob> jobs =
      options.output.empty() ? JobsForOutdir(options.inputs, options.outdir, options.format)
                             : std::vector<FileJob>{{options.inputs[0], options.output}};
  // A format no output can be written in is a command-line error, found
  // before any file is touched.
  if (!CheckOutputFormats(jobs, options, error)) {
    std::fprintf(stderr, "quorvane: %s\n", error.c_str());
    return 2;
  }
  if (!options.outdir.empty() && !MakeFolder(options.outdir, error)) {
    std::fprintf(stderr, "quorvane: %s\n", error.c_str());
    return 1;
  }

  const uint32_t seed = options.seedGiven ? options.seed : std::random_device()();
  const int workers = static_cast<int>(std::thread::hardware_concurrency());
  const auto start = std::chrono::steady_clock::now();
  Progress progress;
  ProgressLine line(!options.quiet && isatty(STDERR_FILENO), jobs.size());
  int done = 0;
  int failed = 0;
  uint64_t overs = 0;
  int filesNotKeeping = 0;
  std::vector<std::string> notKept;  // each item once, in the order first met
  RunBatch(
      jobs, options, seed, workers, progress,
      [&](size_t, const FileOutcome& outcome) {
        line.Clear();
        if (outcome.ok) {
          ++done;
          overs += outcome.overs;
          filesNotKeeping += outcome.notKept.empty() ? 0 : 1;
          for (const std::string& item : outcome.notKept) {
            if (std::find(notKept.begin(), notKept.end(), item) == notKept.end())
              notKept.push_back(item);
          }
          if (!options.quiet) std::printf("%s\n", outcome.report.c_str());
        } else {
          ++failed;
          std::fprintf(stderr, "quorvane: %s\n", outcome.problem.c_str());
        }
        std::fflush(stdout);
        line.Update(progress, done + failed);
      },
      [&] { line.Update(progress, done + failed); });
  line.Clear();
  if (jobs.size() > 1 && !options.quiet) {
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::printf(
        "%s\n",
        SummaryLine(done, failed, overs, seconds.count(), filesNotKeeping, notKept).c_str());
  }
  return failed == 0 ? 0 : 1;
}
