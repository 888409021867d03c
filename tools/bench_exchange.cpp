// Benchmarks: exporting and importing drink library files.

#include "tools/bench_support.h"

namespace bench {

void benchExchange(const Context &)
{
}

} // namespace bench
