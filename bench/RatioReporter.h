#pragma once

// The console table as usual, plus each benchmark's real time per iteration kept by name, so
// that a benchmark program can print its ratios after the table.

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

namespace mirvel::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            seconds_[KeyOf(run.benchmark_name())] =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Seconds per iteration of the benchmark with this name and arguments ("BM_Add/1000"),
    // or 0 when it did not run.
    double Seconds(const std::string& name) const
    {
        const auto found = seconds_.find(name);
        return found == seconds_.end() ? 0 : found->second;
    }

private:
    // Drops the run options that the library appends to a name ("/min_time:2.000", "/real_time"),
    // keeping the name and its arguments.
    static std::string KeyOf(const std::string& name)
    {
        std::string key;
        std::size_t start = 0;
        while (start <= name.size()) {
            const std::size_t end = std::min(name.find('/', start), name.size());
            const std::string part = name.substr(start, end - start);
            if (start == 0 || (part.find(':') == std::string::npos && part.find("_time") == std::string::npos))
                key += (start == 0 ? "" : "/") + part;
            start = end + 1;
        }
        return key;
    }

    std::map<std::string, double> seconds_;
};

}  // namespace mirvel::bench
