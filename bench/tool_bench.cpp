// wirevane-tool as a whole process, the way scripts and users run it: start, work, exit.
// Medians of wall time; the animation's file size is reported beside it.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const fs::path kOutputFolder = fs::temp_directory_path() / "wirevane-tool-bench";

// Runs the tool to the end; false when it could not start or did not exit with 0. Adds the
// processor time it took to cpuSeconds: on a busy machine wall time also counts the waiting.
bool runTool(std::vector<std::string> args, double& cpuSeconds) {
    args.insert(args.begin(), WIREVANE_TOOL);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, WIREVANE_TOOL, nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        return false;
    cpuSeconds += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void timeTool(benchmark::State& state, const std::vector<std::string>& args,
              const fs::path& output) {
    fs::create_directories(kOutputFolder);
    double cpuSeconds = 0;
    for (auto _ : state)
        if (!runTool(args, cpuSeconds))
            state.SkipWithError("wirevane-tool failed");
    state.counters["tool_cpu_ms"] =
        benchmark::Counter(cpuSeconds * 1000, benchmark::Counter::kAvgIterations);
    std::error_code error;
    state.counters["file_KB"] = static_cast<double>(fs::file_size(output, error)) / 1024;
}

// The example cube as one looping GIF of 72 frames of 553x375.
void BM_AnimateCube(benchmark::State& state) {
    const fs::path output = kOutputFolder / "cube.gif";
    timeTool(state,
             {"animate", WIREVANE_SOURCE "/examples/cube.txt", "--cross", "-o", output.string()},
             output);
}
BENCHMARK(BM_AnimateCube)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The example cube as a PNG: no GUI application, no fonts.
void BM_RenderCubePng(benchmark::State& state) {
    const fs::path output = kOutputFolder / "cube.png";
    timeTool(state,
             {"render", WIREVANE_SOURCE "/examples/cube.txt", "--cross", "-o", output.string()},
             output);
}
BENCHMARK(BM_RenderCubePng)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// A picture against starting the same program for nothing: what the picture itself costs, as a
// ratio of the medians of --help and render, run in turns so that both meet the same machine.
void BM_PictureOverHelp(benchmark::State& state) {
    const fs::path output = kOutputFolder / "ratio.png";
    fs::create_directories(kOutputFolder);
    std::vector<double> help, render;
    double cpuSeconds = 0;
    auto wall = [&](const std::vector<std::string>& args) {
        const auto start = std::chrono::steady_clock::now();
        if (!runTool(args, cpuSeconds))
            state.SkipWithError("wirevane-tool failed");
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    for (auto _ : state) {
        help.push_back(wall({"--help"}));
        render.push_back(wall(
            {"render", WIREVANE_SOURCE "/examples/cube.txt", "--cross", "-o", output.string()}));
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0 : v[v.size() / 2];
    };
    state.counters["help_ms"] = median(help);
    state.counters["render_ms"] = median(render);
    state.counters["ratio"] = median(help) > 0 ? median(render) / median(help) : 0;
}
BENCHMARK(BM_PictureOverHelp)->Unit(benchmark::kMillisecond)->Iterations(41);

// An OBJ of 100 points and 100 lines to an object text: the largest object a shape can give.
void BM_ConvertObjToText(benchmark::State& state) {
    fs::create_directories(kOutputFolder);
    const fs::path input = kOutputFolder / "spiral.obj";
    const fs::path output = kOutputFolder / "spiral.txt";
    if (FILE* file = std::fopen(input.c_str(), "w")) {
        for (int i = 0; i < 100; ++i)
            std::fprintf(file, "v %d.25 %d.5 -%d.125\n", i, i % 7, i % 11);
        for (int i = 1; i <= 100; ++i)
            std::fprintf(file, "l %d %d\n", i, i % 100 + 1);
        std::fclose(file);
    }
    timeTool(state, {"convert", input.string(), "-o", output.string()}, output);
}
BENCHMARK(BM_ConvertObjToText)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
