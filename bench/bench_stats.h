// Median, minimum and maximum of the rounds of a benchmark, and the rows of the markdown
// table that scripts/bench prints: each benchmark prints its own rows ("| ..." lines) and
// the script puts them under one header.
#ifndef TOLLAN_BENCH_BENCH_STATS_H
#define TOLLAN_BENCH_BENCH_STATS_H

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

struct Stats {
    double median;
    double min;
    double max;
    size_t count;
};

inline Stats StatsOf(std::vector<double> values) {
    Stats stats = {0.0, 0.0, 0.0, values.size()};
    if (values.empty())
        return stats;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    stats.median = values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
    stats.min = values.front();
    stats.max = values.back();
    return stats;
}

// The ratio of each round: what was measured against its floor of the same round.
inline std::vector<double> Ratios(const std::vector<double>& measured, const std::vector<double>& floors) {
    std::vector<double> ratios;
    for (size_t i = 0; i < measured.size() && i < floors.size(); ++i) {
        if (floors[i] > 0.0)
            ratios.push_back(measured[i] / floors[i]);
    }
    return ratios;
}

// A goal on the median ratio: at most this much (0: no goal).
struct Goal {
    double atMost;
};

// One row of the ratio table:
// | Measure | Floor | Rounds | Ratio median | min | max | Median ms (floor) | Goal | Met |
inline void PrintRatioRow(const char* what, const char* floor, const std::vector<double>& measured,
                          const std::vector<double>& floors, Goal goal) {
    const Stats ratio = StatsOf(Ratios(measured, floors));
    const Stats time = StatsOf(measured);
    const Stats floorTime = StatsOf(floors);
    std::printf("| %s | %s | %zu | **%.2f** | %.2f | %.2f | %.2f (%.2f) |", what, floor, ratio.count, ratio.median,
                ratio.min, ratio.max, time.median, floorTime.median);
    if (goal.atMost > 0.0)
        std::printf(" <= %.2f | %s |\n", goal.atMost, ratio.median <= goal.atMost ? "yes" : "**no**");
    else
        std::printf(" - | - |\n");
}

}  // namespace bench

#endif
