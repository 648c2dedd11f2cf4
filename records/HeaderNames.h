// HeaderNames.h: how headers' hosts compare: without ASCII case, as DNS names do (apps compare byte for byte).
#pragma once

#include <string_view>

namespace records {

// Below, equal to or above 0 as left sorts before, with or after right,
// ASCII letters taken as lower case and other bytes as unsigned numbers.
int CompareHosts(std::string_view left, std::string_view right);

inline bool SameHost(std::string_view left, std::string_view right) {
    return left.size() == right.size() && CompareHosts(left, right) == 0;
}

struct HostLess {
    bool operator()(std::string_view left, std::string_view right) const { return CompareHosts(left, right) < 0; }
};

}  // namespace records
