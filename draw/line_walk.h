// Internal to the drawing layer: the two line walks behind DrawLine. Both
// take ends already clipped by ClipLine and a plotter that skips pixels
// outside the bitmap (an end can round to the column just past the edge).
#pragma once

#include "draw/pixel_ops.h"

// Plain walk, drawing each pixel with weight e; see DrawLine.
void WalkPlainLine(float x1, float y1, float x2, float y2, const ColourPlotter& plotter, int e);

// Plain walk storing `colour` as it is into each pixel.
void WalkOpaqueLine(float x1, float y1, float x2, float y2, const PixelView& view, uint32_t colour);

// Xiaolin Wu's walk at user weight `weight`; see DrawLine.
void WalkAntialiasedLine(float x1, float y1, float x2, float y2, const ColourPlotter& plotter,
                         float weight);
