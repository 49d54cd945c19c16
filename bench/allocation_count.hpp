// Counts the heap allocations of the benchmark program, so a benchmark can report how many one
// iteration makes. The count covers every operator new of the process.
#pragma once

#include <cstdint>

namespace grotmere::bench {

int64_t allocations_so_far();

}  // namespace grotmere::bench
