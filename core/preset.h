// A program: a name and one actual (not normalised) value per parameter.
#pragma once

#include <string>
#include <vector>

struct Preset {
  std::string name;
  std::vector<double> values;
};
