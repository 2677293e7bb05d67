#pragma once

#include <functional>

namespace loaddev {

// The confidence level of the load test's ranges and comparisons, as a probability: what the
// program's View › Confidence holds once it is connected here, 95 % until then.
double confidenceLevel();
// Nothing (an empty function) goes back to 95 %.
void setConfidenceLevelSource(std::function<double()> source);

} // namespace loaddev
