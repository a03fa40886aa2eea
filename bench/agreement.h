// Before anything is timed: every peer and the hand-written floor must give
// the engine's values on a grid of inputs, or the comparison means nothing.
#pragma once

// Prints each disagreement and returns false if there was any.
bool peers_agree_with_engine();
