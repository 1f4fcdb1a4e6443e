// qvhost measure IN OUT: how loud the input is and how loud, plainly and to
// the ear, the requantisation error OUT - IN is.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "dsp/fft.h"
#include "dsp/weighting.h"
#include "tools/host/arguments.h"
#include "tools/host/audio_file.h"
#include "tools/host/commands.h"

namespace {

constexpr int kBlock = 4096;
constexpr double kPi = 3.14159265358979323846;

double Decibels(double power) { return power > 0.0 ? 10.0 * std::log10(power) : -INFINITY; }

// Ratio of the error's power weighted by the ear curve (10^(-dB/10) per
// frequency, most weight near 3.4 kHz) to its plain power, over Hann-windowed
// blocks of both channels.
double WeightingRatio(const std::vector<double>& error, double rate) {
  FftInitTables();
  std::vector<double> weight(kBlock / 2);
  for (int k = 0; k < kBlock / 2; ++k) {
    weight[k] = std::pow(10.0, -0.1 * WeightingCurveDb(k * rate / kBlock, rate));
  }
  std::vector<double> buffer(2 * kBlock);
  double plain = 0.0;
  double weighted = 0.0;
  const size_t frames = error.size() / 2;
  for (int channel = 0; channel < 2; ++channel) {
    for (size_t start = 0; start + kBlock <= frames; start += kBlock) {
      for (int j = 0; j < kBlock; ++j) {
        const double hann = 0.5 - 0.5 * std::cos(2.0 * kPi * j / kBlock);
        buffer[2 * j] = error[2 * (start + j) + channel] * hann;
        buffer[2 * j + 1] = 0.0;
      }
      FftTransform(buffer.data(), kBlock, 0);
      for (int k = 1; k < kBlock / 2; ++k) {
        const int p = FftBinPosition(kBlock, k);
        const double power = buffer[2 * p] * buffer[2 * p] + buffer[2 * p + 1] * buffer[2 * p + 1];
        plain += power;
        weighted += power * weight[k];
      }
    }
  }
  return plain > 0.0 ? weighted / plain : 0.0;
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
