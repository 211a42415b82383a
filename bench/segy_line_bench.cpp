// quarvel-synth's SEG-Y commands as whole processes on a long line: the
// project's example line repeated to QUARVEL_BENCH_LINE_MB megabytes (64 by
// default; 1024 gives a day's chirp file of about a million traces), made
// once in a scratch folder and read from the page cache. Wall time per run;
// "cpu_ms" is the child's own user and system time, "max_rss_mb" its peak
// memory.
#include "scratch_dir.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr std::size_t HeadBytes = 3600;

struct Line {
    quarvel::ScratchDir dir;
    std::filesystem::path path;
    long long traces = 0;
};

// The example line's traces, repeated in order until the file reaches the
// size asked for.
const Line& line() {
    static const std::unique_ptr<Line> made = [] {
        auto made = std::make_unique<Line>();
        const char* asked = std::getenv("QUARVEL_BENCH_LINE_MB");
        const long long megabytes = asked != nullptr ? std::atoll(asked) : 64;
        std::ifstream in(std::filesystem::path(QUARVEL_SOURCE_DIR) / "data/examples/chirp_line.sgy",
                         std::ios::binary);
        const std::string example((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
        const std::string traces = example.substr(HeadBytes);
        const std::size_t traceSize = 240 + 2 * 400;
        made->path = made->dir.folder / "long_line.sgy";
        std::ofstream out(made->path, std::ios::binary);
        out << example.substr(0, HeadBytes);
        const long long copies =
            std::max(1LL, megabytes * (1LL << 20) / static_cast<long long>(traces.size()));
        for (long long i = 0; i < copies; ++i) {
            out << traces;
        }
        made->traces = copies * static_cast<long long>(traces.size() / traceSize);
        return made;
    }();
    return *made;
}

struct ChildCost {
    double cpuMs = 0; // user and system
    double maxRssMb = 0;
};

// Runs quarvel-synth with the arguments.
ChildCost run(const std::vector<std::string>& args) {
    std::vector<std::string> words{QUARVEL_SYNTH_PATH};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error("cannot start quarvel-synth");
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("quarvel-synth failed: " + args.front());
    }
    const auto ms = [](timeval t) { return t.tv_sec * 1e3 + t.tv_usec * 1e-3; };
    return {ms(usage.ru_utime) + ms(usage.ru_stime), static_cast<double>(usage.ru_maxrss) / 1024};
}

void runCommand(benchmark::State& state, const std::vector<std::string>& args) {
    ChildCost cost;
    double cpuMs = 0;
    for (auto _ : state) {
        cost = run(args);
        cpuMs += cost.cpuMs;
    }
    state.counters["cpu_ms"] = cpuMs / static_cast<double>(state.iterations());
    state.counters["max_rss_mb"] = cost.maxRssMb;
    state.counters["traces"] = static_cast<double>(line().traces);
}

void info(benchmark::State& state) {
    runCommand(state, {"info", "--segy", line().path.string()});
}
BENCHMARK(info)->Unit(benchmark::kMillisecond);

// A trace nine tenths of the way along.
void traceByNumber(benchmark::State& state) {
    const Line& l = line();
    runCommand(state,
               {"trace", "--segy", l.path.string(), "--trace", std::to_string(l.traces * 9 / 10),
                "--out", (l.dir.folder / "trace.txt").string()});
}
BENCHMARK(traceByNumber)->Unit(benchmark::kMillisecond);

// Every copy of the example line repeats its positions: the nearest is
// shared by as many traces as there are copies.
void traceNear(benchmark::State& state) {
    const Line& l = line();
    runCommand(state, {"trace", "--segy", l.path.string(), "--near", "48601.4", "156601.4", "--out",
                       (l.dir.folder / "trace.txt").string()});
}
BENCHMARK(traceNear)->Unit(benchmark::kMillisecond);

// The whole line drawn at the default size, one trace a column.
void section(benchmark::State& state) {
    const Line& l = line();
    runCommand(state, {"section", "--segy", l.path.string(), "--out",
                       (l.dir.folder / "section.png").string()});
}
BENCHMARK(section)->Unit(benchmark::kMillisecond);

// The section window's first picture is the same reading and drawing at its
// size (900 by 480); the command, process start and PNG included, bounds it.
void sectionAtWindowSize(benchmark::State& state) {
    const Line& l = line();
    runCommand(state, {"section", "--segy", l.path.string(), "--width", "900", "--height", "480",
                       "--out", (l.dir.folder / "section.png").string()});
}
BENCHMARK(sectionAtWindowSize)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
