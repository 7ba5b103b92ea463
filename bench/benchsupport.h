#pragma once

#include <functional>
#include <vector>

namespace Bench
{

// Runs the event loop until `condition` holds (checked every 20 ms, no
// spinning); false when `ms` passed first.
bool waitFor(const std::function<bool()> &condition, int ms);
// The value at fraction `p` (0..1) of the sorted values; -1 when there are none.
double percentile(std::vector<double> values, double p);

} // namespace Bench
