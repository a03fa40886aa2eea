// The driver that scripts/bench runs under callgrind: exactly N parse +
// evaluate calls of one evaluator on the mortality formula, each through a
// function of its own (counted_call_<evaluator>), so that callgrind, told to
// count only inside that function, gives N times the cost of one call.
#pragma once

// evaluator: engine, floor, fparser or muparser. Returns the exit code: 0, or
// 2 for an unknown evaluator or a count below 1.
int run_counted_calls(const char* evaluator, const char* calls);
