// Rewrites a formula of the engine's language into the dialect of a peer
// parser that lacks "?:" and "==": a?b:c becomes if(a,b,c) and == becomes =.
#pragma once

#include <string>

std::string to_if_dialect(const std::string& formula);
