// Lookups on a Tool definition that every tool shares.
#include "engine/tool.h"

#include <cmath>
#include <cstring>

int find_parameter(const ToolDef* tool, const char* key) {
  if (!tool || !key) return -1;
  for (int i = 0; i < tool->parameter_count; ++i)
    if (std::strcmp(tool->parameters[i].key, key) == 0) return i;
  return -1;
}

bool parameter_accepts(const ParameterDef* parameter, double value) {
  if (!std::isfinite(value)) return false;
  const ParameterRange& range = parameter->range;
  if (!range.set) return true;
  if (value < range.lowest || value > range.highest) return false;
  return !range.whole_only || std::trunc(value) == value;
}
