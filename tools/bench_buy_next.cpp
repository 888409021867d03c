// Benchmark: ranking the ingredients to buy next.

#include "tools/bench_support.h"

namespace bench {

void benchBuyNext(const Context &)
{
}

} // namespace bench
