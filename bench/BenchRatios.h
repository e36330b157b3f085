#pragma once
// A benchmark's figure is its time against its baseline's, both measured in the
// same run. RunWithRatios runs the program's benchmarks as usual and then says,
// for each pair, how the measured time compares: the two runs of the same
// arguments, or the baseline's only run when it takes none.
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

namespace bench {

struct Ratio {
    std::string measured; // the benchmark's function name
    std::string baseline;
};

class RatioReporter final : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::vector<Ratio> ratios) : m_ratios(std::move(ratios)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
                m_seconds[{run.run_name.function_name, run.run_name.args}] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
    }

    void Finalize() override {
        std::FILE* out = stdout;
        std::fflush(out);
        for (const Ratio& ratio : m_ratios) {
            for (const auto& [key, seconds] : m_seconds) {
                if (key.first != ratio.measured)
                    continue;
                auto base = m_seconds.find({ratio.baseline, key.second});
                if (base == m_seconds.end())
                    base = m_seconds.find({ratio.baseline, std::string{}});
                if (base == m_seconds.end() || base->second <= 0.0)
                    continue;
                const std::string name =
                    key.second.empty() ? key.first : key.first + "/" + key.second;
                const double times = seconds / base->second;
                std::fprintf(out, "%s takes %.2fx the time of %s", name.c_str(), times,
                             ratio.baseline.c_str());
                if (times > 0.0 && times < 1.0)
                    std::fprintf(out, " (%.1fx faster)", 1.0 / times);
                std::fputc('\n', out);
            }
        }
        std::fflush(out);
    }

private:
    std::vector<Ratio> m_ratios;
    std::map<std::pair<std::string, std::string>, double> m_seconds;
};

inline int RunWithRatios(int argc, char** argv, std::vector<Ratio> ratios) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter(std::move(ratios));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
