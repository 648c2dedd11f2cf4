// Differences.h: where two byte strings part, told briefly enough for a failure message.
#pragma once

#include <string>

namespace fuzz {

// Both sizes, the offset of the first differing byte, and the bytes around it
// from each string, with control and high bytes escaped.
std::string FirstDifference(const std::string& expected, const std::string& actual);

}  // namespace fuzz
