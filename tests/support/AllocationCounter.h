#pragma once

// Counts heap allocations made by code linked statically into a test (the engine library):
// the test is linked with --wrap for malloc, calloc, realloc and operator new, which routes
// those calls through counters (see tests/CMakeLists.txt, bf_count_allocations).

// Allocations counted since the process started.
long TEST_AllocationCount();
