#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "dsp/weighting.h"
#include "tools/quorvane/file_meter.h"
#include "tools/quorvane/input_file.h"

namespace {

constexpr int kN = ErrorSpectrum::kSize;
constexpr double kPi = 3.14159265358979323846;

std::vector<double> Sine(double amplitude, int bin) {
  std::vector<double> x(kN);
  for (int j = 0; j < kN; ++j) x[j] = amplitude * std::cos(2.0 * kPi * bin * j / kN);
  return x;
}

}  // namespace

// Two blocks windowed into one transform, one in the real parts and one in
// the imaginary parts.
std::vector<double> WindowedPair(const ErrorSpectrum& spectrum, const std::vector<double>& a,
                                 const std::vector<double>& b) {
  std::vector<double> pair(2 * kN);
  for (int j = 0; j < kN; ++j) {
    pair[2 * j] = a[j] * spectrum.Window()[j];
    pair[2 * j + 1] = b[j] * spectrum.Window()[j];
  }
  return pair;
}

TEST(ErrorSpectrum, BlocksSharingOneTransformLandInTheirOwnBins) {
  for (const auto& bins : {std::pair<int, int>{100, 700}, {3, 2046}, {931, 929}}) {
    ErrorSpectrum spectrum;
    std::vector<double> errors =
        WindowedPair(spectrum, Sine(1.0, bins.first), Sine(0.001, bins.second));
    std::vector<double> inputs =
        WindowedPair(spectrum, Sine(0.001, bins.first), Sine(1.0, bins.second));
    spectrum.AddWindowedErrors(errors.data(), 2);
    spectrum.AddWindowedInputs(inputs.data());
    spectrum.Flush();
    EXPECT_EQ(spectrum.Blocks(), 2);
    for (const std::vector<double>* power : {&spectrum.ErrorPower(), &spectrum.InputPower()}) {
      const bool isError = power == &spectrum.ErrorPower();
      const int loud = isError ? bins.first : bins.second;
      const int quiet = isError ? bins.second : bins.first;
      // A full-scale sine's bin holds (N / 4)² with the Hann window.
      EXPECT_NEAR((*power)[loud] / std::pow(kN / 4.0, 2.0), 1.0, 1e-9);
      EXPECT_NEAR((*power)[quiet] / std::pow(kN / 4.0 * 0.001, 2.0), 1.0, 1e-9);
      // Nothing lands beyond each sine's own bin and the window's neighbours.
      double stray = 0.0;
      for (int k = 0; k < ErrorSpectrum::kBins; ++k) {
        if (std::abs(k - loud) > 1 && std::abs(k - quiet) > 1) stray += (*power)[k];
      }
      EXPECT_LT(stray, 1e-12 * (*power)[quiet]);
    }
  }
}

TEST(ErrorSpectrum, ErrorBlocksPairedUpGiveTheSpectrumOfEachAlone) {
  const std::vector<std::vector<double>> blocks = {Sine(0.5, 10), Sine(0.25, 1500), Sine(0.1, 10)};
  ErrorSpectrum alone;
  ErrorSpectrum paired;
  for (const std::vector<double>& block : blocks) {
    alone.AddErrorBlock(block.data());
    alone.Flush();
    paired.AddErrorBlock(block.data());
  }
  EXPECT_EQ(paired.Blocks(), 3);
  paired.Flush();
  EXPECT_EQ(paired.Blocks(), 3);
  for (int k = 0; k < ErrorSpectrum::kBins; ++k) {
    EXPECT_NEAR(paired.ErrorPower()[k], alone.ErrorPower()[k], 1e-9 * alone.ErrorPower()[10]) << k;
    EXPECT_EQ(paired.InputPower()[k], 0.0);
  }
}

TEST(ErrorSpectrum, WeightingFollowsThePluginsCurve) {
  const double rate = 44100.0;
  ErrorSpectrum silent;
  EXPECT_EQ(silent.WeightingRatio(rate), 0.0);
  // A tone in bin 316 (3402 Hz, where the curve is lowest at -10 dB) counts
  // ten times its power; one in bin 1858 (20005 Hz, 40 dB) a ten-thousandth.
  for (const auto& tone : {std::pair<int, double>{316, 10.0}, {1858, 1e-4}}) {
    ErrorSpectrum spectrum;
    spectrum.AddErrorBlock(Sine(0.01, tone.first).data());
    spectrum.Flush();
    const double expected = std::pow(10.0, -0.1 * WeightingCurveDb(tone.first * rate / kN, rate));
    EXPECT_NEAR(expected, tone.second, tone.second * 1e-3);
    EXPECT_NEAR(spectrum.WeightingRatio(rate), expected, expected * 1e-3);
  }
}

TEST(FileMeter, MeasuresTheErrorFromTheClippedInput) {
  FileMeter meter(2, true);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  // Three frames of the left channel, then of the right; outputs as stored.
  const double input[] = {0.5, nan, 1.5, -2.0, 0.25, -0.75};
  const double output[] = {0.5, 1.0, 1.0 - 0.5, -1.0, 0.25, -0.75};
  meter.Add(input, output, 3, 3);
  meter.Finish();
  EXPECT_EQ(meter.InputPeak(), 2.0);
  EXPECT_EQ(meter.ClippedInput(), 3u);
  // Only the clipped 1.5 left an error, of 0.5, in 6 samples.
  EXPECT_DOUBLE_EQ(meter.ErrorPower(), 0.25 / 6.0);
  // A stream shorter than a block still gets its one padded block.
  EXPECT_EQ(meter.Spectrum().Blocks(), 2);
}

TEST(FileMeter, AnalysesEveryWholeBlockOfEveryChannel) {
  FileMeter meter(3, false);
  std::vector<double> silence(3 * 1000);
  for (int i = 0; i < 9; ++i) meter.Add(silence.data(), silence.data(), 1000, 1000);
  meter.Finish();
  EXPECT_EQ(meter.Spectrum().Blocks(), 3 * 2);
  EXPECT_EQ(meter.ErrorPower(), 0.0);
}

// The chunks of a stream end anywhere in an analysis block: the staging
// must carry each channel's samples across calls in order.
TEST(FileMeter, HowTheStreamIsCutChangesNothing) {
  constexpr int kFrames = 3 * ErrorSpectrum::kSize + 100;
  std::vector<double> input(2 * kFrames), output(2 * kFrames);
  for (int j = 0; j < kFrames; ++j) {
    input[j] = 0.5 * std::sin(0.01 * j);
    input[kFrames + j] = 0.25 * std::sin(0.3 * j);
    output[j] = std::floor(input[j] * 256.0) / 256.0;
    output[kFrames + j] = std::floor(input[kFrames + j] * 64.0) / 64.0;
  }
  FileMeter whole(2, true), cut(2, true);
  whole.Add(input.data(), output.data(), kFrames, kFrames);
  for (int start = 0; start < kFrames; start += 777) {
    const int n = kFrames - start < 777 ? kFrames - start : 777;
    cut.Add(input.data() + start, output.data() + start, kFrames, n);
  }
  whole.Finish();
  cut.Finish();
  ASSERT_EQ(cut.Spectrum().Blocks(), 2 * 3);
  EXPECT_EQ(cut.Spectrum().ErrorPower(), whole.Spectrum().ErrorPower());
  EXPECT_EQ(cut.Spectrum().InputPower(), whole.Spectrum().InputPower());
  // The sum of squares is added up per call, in a different order.
  EXPECT_NEAR(cut.ErrorPower(), whole.ErrorPower(), whole.ErrorPower() * 1e-12);
}

// With an odd number of channels the last one's blocks share transforms
// with each other: three channels measure as a pair and one alone.
TEST(FileMeter, AnOddChannelMeasuresAsItWouldAlone) {
  constexpr int kFrames = 3 * ErrorSpectrum::kSize + 100;
  std::vector<double> input(3 * kFrames), output(3 * kFrames);
  for (int j = 0; j < 3 * kFrames; ++j) {
    input[j] = 0.5 * std::sin(0.001 * j * (1 + j / kFrames));
    output[j] = std::floor(input[j] * 1024.0) / 1024.0;
  }
  FileMeter three(3, true), two(2, true), one(1, true);
  three.Add(input.data(), output.data(), kFrames, kFrames);
  two.Add(input.data(), output.data(), kFrames, kFrames);
  one.Add(input.data() + 2 * kFrames, output.data() + 2 * kFrames, kFrames, kFrames);
  for (FileMeter* meter : {&three, &two, &one}) meter->Finish();
  EXPECT_EQ(three.Spectrum().Blocks(), 3 * 3);
  EXPECT_EQ(one.Spectrum().Blocks(), 3);
  for (int k = 0; k < ErrorSpectrum::kBins; ++k) {
    for (bool error : {true, false}) {
      auto power = [error, k](const FileMeter& m) {
        return error ? m.Spectrum().ErrorPower()[k] : m.Spectrum().InputPower()[k];
      };
      const double sum = power(two) + power(one);
      EXPECT_NEAR(power(three), sum, 1e-9 * sum + 1e-30) << k;
    }
  }
}

TEST(HeaderFrames, ReadsWhatTheHeaderOfATruncatedFilePromised) {
  SF_INFO info{};
  info.channels = 2;
  info.frames = 33320;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
  EXPECT_EQ(HeaderFrames("RIFF : 264672 (should be 199992)\nWAVE\n"
                         "data : 264600 (should be 199920)\nEnd\n",
                         info),
            44100);
  EXPECT_EQ(HeaderFrames("RIFF : 264672\nWAVE\ndata : 199920\nEnd\n", info), 33320);
  info.format = SF_FORMAT_AIFF | SF_FORMAT_PCM_24;
  EXPECT_EQ(HeaderFrames(" SSND : 264608 (should be 198436)\n*** Frame count read from 'COMM' "
                         "chunk (44100) not equal to frame count\n",
                         info),
            44100);
  info.format = SF_FORMAT_W64 | SF_FORMAT_PCM_24;
  EXPECT_EQ(HeaderFrames("riff : 264704 (should be 198528)\nwave\ndata : 264624\n", info), 44100);
  // A header that promises less than is there cannot shorten the file.
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  EXPECT_EQ(HeaderFrames("RIFF : 10 (should be 99)\ndata : 8 (should be 133280)\n", info), 33320);
}

// A WAV written to a pipe says 0xFFFFFFFF (or 0) for its sizes: no promise,
// so that it is read to its end rather than refused as truncated.
TEST(HeaderFrames, AStreamedWavPromisesNothing) {
  SF_INFO info{};
  info.channels = 2;
  info.frames = 132300;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  EXPECT_EQ(HeaderFrames("RIFF : 4294967295 (should be 529270)\nWAVE\n"
                         "data : 4294967295 (should be 529200)\nEnd\n",
                         info),
            -1);
  EXPECT_EQ(HeaderFrames("RIFF : 4294967295\nWAVE\ndata : 4294967295\nEnd\n", info), -1);
  EXPECT_EQ(HeaderFrames("RIFF : 36\nWAVE\ndata : 0 (should be 529200)\nEnd\n", info), -1);
  EXPECT_EQ(HeaderFrames("RIFF : 529236\nWAVE\ndata : 529200\nEnd\n", info), 132300);
}
