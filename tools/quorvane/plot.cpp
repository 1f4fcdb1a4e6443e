#include "tools/quorvane/plot.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

#include "draw/fill_rect.h"
#include "draw/line.h"
#include "draw/system_bitmap.h"
#include "text/text.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>

namespace {

constexpr Colour kBackground{255, 28, 31, 38};
constexpr Colour kPlotArea{255, 18, 20, 25};
constexpr Colour kGrid{255, 70, 74, 84};
constexpr Colour kLabel{255, 200, 204, 212};
constexpr Colour kInputFill{255, 150, 170, 200};
constexpr Colour kInputLine{255, 220, 230, 245};
constexpr Colour kErrorFill{255, 230, 120, 40};
constexpr Colour kErrorLine{255, 255, 170, 90};

constexpr double kLowestFrequency = 20.0;
constexpr Rect kArea{72, 56, kPlotWidth - 24, kPlotHeight - 52};

// The graph's scales: a logarithmic frequency axis from 20 Hz to half the
// rate, and a level axis in dB.
struct Axes {
  double highestFrequency;
  double topDb;
  double bottomDb;

  double X(double frequency) const {
    return kArea.left + (kArea.right - kArea.left) * std::log(frequency / kLowestFrequency) /
                            std::log(highestFrequency / kLowestFrequency);
  }
  double Frequency(double x) const {
    return kLowestFrequency * std::pow(highestFrequency / kLowestFrequency,
                                       (x - kArea.left) / (kArea.right - kArea.left));
  }
  double Y(double db) const {
    const double y = kArea.top + (kArea.bottom - kArea.top) * (topDb - db) / (topDb - bottomDb);
    return y < kArea.top ? kArea.top : y > kArea.bottom ? kArea.bottom : y;
  }
};

// One level per column of the area: the mean power of the bins the column
// covers (the nearest bin where it covers none), in dB relative to a
// full-scale sine, whose bin holds (N / 4)² per block with the Hann window.
std::vector<double> ColumnLevels(const std::vector<double>& power, int64_t blocks, double rate,
                                 const Axes& axes) {
  const double binWidth = rate / ErrorSpectrum::kSize;
  const double scale =
      blocks > 0 ? 1.0 / (blocks * std::pow(ErrorSpectrum::kSize / 4.0, 2.0)) : 0.0;
  std::vector<double> levels;
  for (int x = kArea.left; x < kArea.right; ++x) {
    int first = static_cast<int>(std::ceil(axes.Frequency(x) / binWidth));
    int last = static_cast<int>(std::floor(axes.Frequency(x + 1) / binWidth));
    if (last < first)
      first = last = static_cast<int>(std::lround(axes.Frequency(x + 0.5) / binWidth));
    if (first < 1) first = 1;
    if (last > ErrorSpectrum::kBins - 1) last = ErrorSpectrum::kBins - 1;
    double sum = 0.0;
    for (int k = first; k <= last; ++k) sum += power[k];
    const double mean = last >= first ? sum / (last - first + 1) : 0.0;
    levels.push_back(mean * scale > 0.0 ? 10.0 * std::log10(mean * scale) : -INFINITY);
  }
  return levels;
}

// The level axis runs from 0 dB (or the input's top, if higher) down to 20 dB
// below the quietest error column, in steps of 20 dB.
Axes ChooseAxes(const std::vector<double>& input, const std::vector<double>& error, double rate) {
  Axes axes{rate / 2.0, 0.0, -160.0};
  double lowest = INFINITY;
  double highest = -INFINITY;
  for (double level : error) lowest = std::isfinite(level) ? std::fmin(lowest, level) : lowest;
  for (double level : input) highest = std::isfinite(level) ? std::fmax(highest, level) : highest;
  if (std::isfinite(lowest)) axes.bottomDb = std::floor((lowest - 10.0) / 20.0) * 20.0;
  axes.bottomDb = std::fmin(-80.0, std::fmax(-240.0, axes.bottomDb));
  if (highest > 0.0) axes.topDb = std::ceil(highest / 20.0) * 20.0;
  return axes;
}

void FillArea(Bitmap& bitmap, const std::vector<double>& levels, const Axes& axes,
              const Colour& fill, float weight, const Colour& line) {
  const PackedColour fillColour = PackColour(fill);
  for (size_t i = 0; i < levels.size(); ++i) {
    if (!std::isfinite(levels[i])) continue;
    const int top = static_cast<int>(axes.Y(levels[i]));
    FillRect(&bitmap, kArea.left + static_cast<int>(i), top, 1, kArea.bottom - top, fillColour,
             weight, kBlendCopy);
  }
  for (size_t i = 1; i < levels.size(); ++i) {
    if (!std::isfinite(levels[i - 1]) || !std::isfinite(levels[i])) continue;
    DrawLine(&bitmap, kArea.left + i - 0.5f, static_cast<float>(axes.Y(levels[i - 1])),
             kArea.left + i + 0.5f, static_cast<float>(axes.Y(levels[i])), PackColour(line), 1.0f,
             kBlendCopy, true);
  }
}

// Text through the platform's font layer, in one size and alignment.
class Labels {
 public:
  Labels(SystemBitmap& bitmap, int size) : bitmap(bitmap), style(size, kLabel, "Arial", 0, 0, 0) {
    font = CreateTextFont(style);
  }
  ~Labels() { DeleteTextFont(font); }
  Labels(const Labels&) = delete;
  Labels& operator=(const Labels&) = delete;

  void Draw(const char* text, const Rect& rect, int alignment, const Colour& colour = kLabel) {
    style.alignment = alignment;
    style.colour = colour;
    DrawSurfaceText(bitmap, font, style, text, rect);
  }

 private:
  SystemBitmap& bitmap;
  TextStyle style;
  void* font;
};

void DrawGrid(SystemBitmap& bitmap, const Axes& axes) {
  Labels labels(bitmap, 13);
  const PackedColour grid = PackColour(kGrid);
  for (double db = axes.topDb; db >= axes.bottomDb; db -= 20.0) {
    const auto y = static_cast<float>(axes.Y(db));
    DrawLine(&bitmap, kArea.left, y, kArea.right, y, grid, 1.0f, kBlendCopy, false);
    char text[16];
    std::snprintf(text, sizeof text, "%.0f", db);
    const int row = static_cast<int>(y);
    labels.Draw(text, Rect{kArea.left - 50, row - 8, kArea.left - 6, row + 8}, kAlignRight);
  }
  const struct {
    double frequency;
    const char* text;
  } ticks[] = {{20, "20"},     {50, "50"},     {100, "100"},   {200, "200"},
               {500, "500"},   {1000, "1k"},   {2000, "2k"},   {5000, "5k"},
               {10000, "10k"}, {20000, "20k"}, {50000, "50k"}, {100000, "100k"}};
  for (const auto& tick : ticks) {
    if (tick.frequency > axes.highestFrequency) break;
    const auto x = static_cast<float>(axes.X(tick.frequency));
    DrawLine(&bitmap, x, kArea.top, x, kArea.bottom, grid, 1.0f, kBlendCopy, false);
    const int column = static_cast<int>(x);
    labels.Draw(tick.text, Rect{column - 20, kArea.bottom + 4, column + 20, kArea.bottom + 20},
                kAlignCentre);
  }
  labels.Draw("frequency (Hz)", Rect{kArea.left, kArea.bottom + 24, kArea.right, kArea.bottom + 42},
              kAlignCentre);
  labels.Draw("dB (full-scale sine = 0)", Rect{8, kArea.top - 22, 300, kArea.top - 6}, kAlignLeft);
}

void DrawLegend(SystemBitmap& bitmap) {
  Labels labels(bitmap, 13);
  const int y = kArea.top - 22;
  FillRect(&bitmap, kArea.right - 250, y + 3, 12, 10, PackColour(kInputFill), 1.0f, kBlendCopy);
  labels.Draw("input", Rect{kArea.right - 232, y, kArea.right - 170, y + 16}, kAlignLeft);
  FillRect(&bitmap, kArea.right - 160, y + 3, 12, 10, PackColour(kErrorFill), 1.0f, kBlendCopy);
  labels.Draw("error (output - input)", Rect{kArea.right - 142, y, kArea.right, y + 16},
              kAlignLeft);
}

// Writes all of `bytes` to the file.
bool WriteAll(int descriptor, const std::vector<unsigned char>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(descriptor, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

extern "C" void AppendPngBytes(void* context, void* data, int size) {
  auto* bytes = static_cast<std::vector<unsigned char>*>(context);
  const auto* first = static_cast<const unsigned char*>(data);
  bytes->insert(bytes->end(), first, first + size);
}

}  // namespace

void DrawSpectrumPlot(SystemBitmap& bitmap, const ErrorSpectrum& spectrum, double rate,
                      const std::string& title) {
  FillRect(&bitmap, 0, 0, kPlotWidth, kPlotHeight, PackColour(kBackground), 1.0f, kBlendCopy);
  FillRect(&bitmap, kArea.left, kArea.top, kArea.right - kArea.left, kArea.bottom - kArea.top,
           PackColour(kPlotArea), 1.0f, kBlendCopy);
  Axes axes{rate / 2.0, 0.0, -160.0};
  const std::vector<double> input =
      ColumnLevels(spectrum.InputPower(), spectrum.Blocks(), rate, axes);
  const std::vector<double> error =
      ColumnLevels(spectrum.ErrorPower(), spectrum.Blocks(), rate, axes);
  axes = ChooseAxes(input, error, rate);
  DrawGrid(bitmap, axes);
  FillArea(bitmap, input, axes, kInputFill, 0.45f, kInputLine);
  FillArea(bitmap, error, axes, kErrorFill, 0.7f, kErrorLine);
  DrawLegend(bitmap);
  Labels heading(bitmap, 15);
  heading.Draw(title.c_str(), Rect{8, 6, kPlotWidth - 8, 26}, kAlignLeft);
}

bool WriteSpectrumPlot(int descriptor, const ErrorSpectrum& spectrum, double rate,
                       const std::string& title, std::string& error) {
  SystemBitmap bitmap(kPlotWidth, kPlotHeight);
  if (bitmap.Bits() == nullptr) {
    error = "no memory for the plot";
    return false;
  }
  DrawSpectrumPlot(bitmap, spectrum, rate, title);
  // Pixels are stored as blue, green, red, alpha; PNG wants red first.
  std::vector<unsigned char> rgba(static_cast<size_t>(kPlotWidth) * kPlotHeight * 4);
  for (int y = 0; y < kPlotHeight; ++y) {
    for (int x = 0; x < kPlotWidth; ++x) {
      const uint32_t pixel = bitmap.Bits()[y * bitmap.RowSpan() + x];
      unsigned char* out = &rgba[(static_cast<size_t>(y) * kPlotWidth + x) * 4];
      out[0] = static_cast<unsigned char>(pixel >> 16);
      out[1] = static_cast<unsigned char>(pixel >> 8);
      out[2] = static_cast<unsigned char>(pixel);
      out[3] = 255;
    }
  }
  std::vector<unsigned char> png;
  if (!stbi_write_png_to_func(AppendPngBytes, &png, kPlotWidth, kPlotHeight, 4, rgba.data(),
                              kPlotWidth * 4) ||
      !WriteAll(descriptor, png)) {
    error = std::string("cannot write the plot: ") + std::strerror(errno);
    return false;
  }
  return true;
}
