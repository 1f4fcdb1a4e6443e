#include "tools/quorvane/output_grid.h"

#include <cmath>

OutputGrid::OutputGrid(int bits) : top(1.0 - std::ldexp(1.0, 1 - bits)) {}
