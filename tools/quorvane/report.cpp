#include "tools/quorvane/report.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "tools/quorvane/options.h"

std::string PowerDb(double power) {
  if (!(power > 0.0)) return "-inf";
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", 10.0 * std::log10(power));
  return text;
}

std::string FileReportLine(const std::string& input, const std::string& output,
                           const FileFigures& f) {
  char text[512];
  char converted[48] = "";
  if (f.inputRate > 0) {
    std::snprintf(converted, sizeof converted, " (converted from %d Hz)", f.inputRate);
  }
  std::snprintf(text, sizeof text,
                "%s, block %d, seed %u; %s, %d ch, %d Hz%s, %" PRId64
                " frames; input peak %s dBFS, %" PRIu64 " clipped input samples; %" PRIu64
                " overs; error %s dBFS RMS, ear-weighted %s dBFS RMS (plug-in's weighting curve)",
                DescribeSettings(f.settings, f.shapingActive).c_str(), static_cast<int>(f.block),
                static_cast<unsigned>(f.seed), f.format.c_str(), f.channels, f.rate, converted,
                f.frames, PowerDb(f.inputPeak * f.inputPeak).c_str(), f.clippedInput, f.overs,
                PowerDb(f.errorPower).c_str(), PowerDb(f.weightedPower).c_str());
  std::string line = input + " -> " + output + ": " + text;
  if (f.blankedSeconds >= 0.0) {
    std::snprintf(text, sizeof text, "; auto-blank: %.2f s of digital silence blanked",
                  f.blankedSeconds);
    line += text;
  }
  for (size_t i = 0; i < f.notKept.size(); ++i)
    line += (i == 0 ? "; not kept: " : ", ") + f.notKept[i];
  for (size_t i = 0; i < f.madeAnew.size(); ++i)
    line += (i == 0 ? "; made anew: " : ", ") + f.madeAnew[i];
  return line;
}

std::string SummaryLine(int done, int failed, uint64_t overs, double seconds, int filesNotKeeping,
                        const std::vector<std::string>& notKept) {
  char text[160];
  std::snprintf(text, sizeof text,
                "%d file%s dithered, %d failed, %" PRIu64 " overs in all, %.2f s", done,
                done == 1 ? "" : "s", failed, overs, seconds);
  std::string line = text;
  if (filesNotKeeping > 0) {
    line += "; not kept in " + std::to_string(filesNotKeeping) +
            (filesNotKeeping == 1 ? " file: " : " files: ");
    for (size_t i = 0; i < notKept.size(); ++i) line += (i == 0 ? "" : ", ") + notKept[i];
  }
  return line;
}
