// Counts the program's heap allocations: the test executables replace the
// global allocation functions with counting ones.
#pragma once

// Number of calls of the global operator new (every form) since start.
long long allocation_count();
