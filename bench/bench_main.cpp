// The benchmarks' entry: runs them all and prints one markdown table, each
// time beside the plain lookup-table pass over the 64,000-byte Framebuffer
// measured in the same run. Arguments are Google Benchmark's own
// (--benchmark_filter=..., --benchmark_min_time=...).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The rows of the table in this order, with what they measure.
const struct {
    const char* name;
    const char* what;
} Rows[] = {
    {"BM_PlainLutPass", "plain 64,000-byte lookup-table pass (the yardstick)"},
    {"BM_DrawPlayView", "play-view frame (`draw_play_view`, floor 4, the pursuer in view)"},
    {"BM_DrawTitleFrame", "title frame (`draw_screen` on the title)"},
    {"BM_BuildWorldImage/3", "`build_world_image`, floor 4"},
    {"BM_BuildWorldImage/0", "`build_world_image`, floor 1 (swimming hall)"},
    {"BM_BuildWorldImage/4", "`build_world_image`, floor 5 (schoolyard)"},
    {"BM_GameTickChase", "play Tick in a chase (the pursuer's target changes every Tick)"},
    {"BM_RenderSamplesBlock", "768-sample synth block, four voices and an effect"},
    {"BM_ToolStartUp", "start-up to the first tool output (`stivra-tool newgame`, a new process)"},
    {"BM_GameTickMinuteOfPlay", "a minute of play: 1800 Ticks without frames"},
    {"BM_ShadeByLight", "darkness pass of the play view"},
    {"BM_EdgeVignette", "dithered edge vignette"},
};

std::string format_time(double ns) {
    char text[32];
    if (ns < 1e3) std::snprintf(text, sizeof text, "%.0f ns", ns);
    else if (ns < 1e6) std::snprintf(text, sizeof text, "%.1f µs", ns / 1e3);
    else std::snprintf(text, sizeof text, "%.2f ms", ns / 1e6);
    return text;
}

class MarkdownTable : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
            std::string name = run.benchmark_name();
            // "BM_X/manual_time" and the like: the name without the timing suffix.
            const size_t suffix = name.find("/manual_time");
            if (suffix != std::string::npos) name.erase(suffix);
            const double ns = run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            results_.push_back({name, ns});
        }
    }

    void Finalize() override {
        double yardstick = 0;
        for (const Result& r : results_)
            if (r.name == "BM_PlainLutPass") yardstick = r.ns;
        std::printf("| Benchmark | Time | × lookup-table pass |\n|---|---:|---:|\n");
        std::vector<bool> printed(results_.size(), false);
        auto row = [&](size_t i, const char* what) {
            printed[i] = true;
            std::string ratio = "–";
            if (yardstick > 0) {
                char text[32];
                std::snprintf(text, sizeof text, results_[i].ns / yardstick < 10 ? "%.2f" : "%.0f",
                              results_[i].ns / yardstick);
                ratio = text;
            }
            std::printf("| %s | %s | %s |\n", what, format_time(results_[i].ns).c_str(), ratio.c_str());
        };
        for (const auto& r : Rows)
            for (size_t i = 0; i < results_.size(); ++i)
                if (!printed[i] && results_[i].name == r.name) row(i, r.what);
        for (size_t i = 0; i < results_.size(); ++i)
            if (!printed[i]) row(i, results_[i].name.c_str());
    }

private:
    struct Result {
        std::string name;
        double ns;
    };
    std::vector<Result> results_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    MarkdownTable table;
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    return 0;
}
