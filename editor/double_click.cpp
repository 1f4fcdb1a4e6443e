#include "editor/double_click.h"

#include <cstdlib>

bool DoubleClickDetector::Press(int newButton, int newX, int newY, uint32_t newTimeMs) {
  // Unsigned subtraction measures the interval across a wrap of the clock.
  const bool completes = pending && newButton == button && newTimeMs - timeMs <= kIntervalMs &&
                         std::abs(newX - x) <= kDistance && std::abs(newY - y) <= kDistance;
  pending = !completes;
  button = newButton;
  x = newX;
  y = newY;
  timeMs = newTimeMs;
  return completes;
}
