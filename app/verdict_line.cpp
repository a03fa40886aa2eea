#include "app/verdict_line.h"

const wchar_t kVerdictPrompt[] = L"填写左侧参数，点击“计算”";

unsigned verdict_colour_rgb(int level) {
  switch (level) {
    case 1: return 0xB08400;
    case 2: return 0xD66C00;
    case 3: return 0xBE1E2D;
    default: return 0x008060;
  }
}
