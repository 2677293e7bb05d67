#include "stats/roundrobin.h"

namespace stats {

std::vector<std::vector<std::size_t>> roundRobin(std::size_t loads, std::size_t shots)
{
    std::vector<std::vector<std::size_t>> split(loads);
    if (loads == 0)
        return split;
    for (auto& shotsOfLoad : split)
        shotsOfLoad.reserve(shots / loads + 1);
    for (std::size_t i = 0; i < shots; ++i)
        split[i % loads].push_back(i);
    return split;
}

} // namespace stats
