// A picture of a file's input and error spectra for a read-me or a report:
// the same kind of graph as the editor's (the input as a light area, the
// requantisation error as an area in front of it), on a logarithmic
// frequency axis with labelled axes, drawn with the project's own drawing
// code and stored as PNG.
#pragma once

#include <string>

class SystemBitmap;
#include "tools/measure/error_analysis.h"

constexpr int kPlotWidth = 800;
constexpr int kPlotHeight = 450;

// Draws the spectra (averaged over every block and channel, in dB relative
// to a full-scale sine) at sample rate `rate` into `bitmap`, which must be
// kPlotWidth x kPlotHeight; `title` goes above the graph.
void DrawSpectrumPlot(SystemBitmap& bitmap, const ErrorSpectrum& spectrum, double rate,
                      const std::string& title);

// Draws the picture and writes it as PNG to the open file `descriptor`.
// False with the reason when the picture or the file cannot be made.
[[nodiscard]] bool WriteSpectrumPlot(int descriptor, const ErrorSpectrum& spectrum, double rate,
                                     const std::string& title, std::string& error);
