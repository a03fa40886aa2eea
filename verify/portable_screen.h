// The verification's screen without a window: the portable road the Main
// window stands on. An item is bound to the first parameter whose label is
// the item's label, and shows that parameter's unit. A case's texts are read
// by the window's input rule; the first refused item gives the message the
// window's box would show and the screen the window shows without a result;
// otherwise the calculation runs into buffers of the window's sizes and the
// verdict line takes its level's colour.
#pragma once

#include "engine/tool.h"
#include "verify/verify_screen.h"

struct PortableScreen {
  const ToolDef* tool;
  int parameter_of_item[kMaxParameters];  // -1 while the item is not bound
};

// A screen over the tool; state must outlive the screen's use.
VerifyScreen portable_screen(const ToolDef* tool, PortableScreen* state);
