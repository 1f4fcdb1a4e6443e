// qvhost measure IN OUT: how loud the input is and how loud, plainly and to
// the ear, the requantisation error OUT - IN is.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/qvhost/arguments.h"
#include "tools/qvhost/audio_file.h"
#include "tools/qvhost/commands.h"
#include "tools/measure/error_analysis.h"

namespace {

double Decibels(double power) { return power > 0.0 ? 10.0 * std::log10(power) : -INFINITY; }

// Ratio of the error's power weighted by the ear curve to its plain power,
// over the whole blocks of both channels.
double WeightingRatio(const std::vector<double>& error, double rate) {
  ErrorSpectrum spectrum;
  std::vector<double> block(ErrorSpectrum::kSize);
  const size_t frames = error.size() / 2;
  for (int channel = 0; channel < 2; ++channel) {
    for (size_t start = 0; start + ErrorSpectrum::kSize <= frames; start += ErrorSpectrum::kSize) {
      for (int j = 0; j < ErrorSpectrum::kSize; ++j) block[j] = error[2 * (start + j) + channel];
      spectrum.AddErrorBlock(block.data());
    }
  }
  spectrum.Flush();
  return spectrum.WeightingRatio(rate);
}

}  // namespace

int MeasureCommand(int argc, char** argv) {
  if (argc != 4 && !(argc == 6 && std::strcmp(argv[4], "--rate") == 0)) return kExitUsage;
  AudioData in;
  AudioData out;
  if (!ReadAudio(argv[2], in) || !ReadAudio(argv[3], out)) return kExitFailure;
  double rate = in.rate > 0.0 ? in.rate : 44100.0;
  if (argc == 6 && (!ParseDouble(argv[5], rate) || !(rate > 0.0))) return kExitUsage;
  if (in.Frames() != out.Frames() || in.Frames() == 0) {
    std::fprintf(stderr, "measure: the files differ in length or are empty\n");
    return kExitFailure;
  }
  double peak = 0.0;
  double errorPower = 0.0;
  std::vector<double> error(in.samples.size());
  for (size_t i = 0; i < in.samples.size(); ++i) {
    peak = std::fmax(peak, std::fabs(in.samples[i]));
    error[i] = out.samples[i] - in.samples[i];
    errorPower += error[i] * error[i];
  }
  errorPower /= static_cast<double>(error.size());
  std::printf("input peak:            %7.2f dBFS\n", 20.0 * std::log10(peak));
  std::printf("error level:           %7.2f dBFS rms\n", Decibels(errorPower));
  std::printf("error level, weighted: %7.2f dBFS rms (ear-weighted spectrum)\n",
              Decibels(errorPower * WeightingRatio(error, rate)));
  return kExitSuccess;
}
