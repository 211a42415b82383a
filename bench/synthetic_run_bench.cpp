// "quarvel-synth synthetic" as a whole process: start-up, reading log.dat and
// klauder.dat, the computation, formatting and replacing the five files. Two
// cores: a 10 m core at 1-12 kHz and 5 us (K near 2650) and the largest the
// series allow (K = 31 750 with the default wavelet). Wall time per run;
// "cpu_ms" is the child's own user and system time, "faults" its page faults
// (on a virtual machine each costs some 10 us). QUARVEL_SYNTH, when set,
// names the quarvel-synth to run instead of this build's, to compare builds.
#include "formats/numbers.h"
#include "formats/text_file.h"
#include "scratch_dir.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <system_error>
#include <vector>

extern char** environ;

namespace {

using namespace quarvel;

// What one run of the child cost it.
struct ChildCost {
    double cpuSeconds = 0; // user and system
    double pageFaults = 0; // first touches of pages, each a trip into the system
};

// Runs quarvel-synth with the arguments.
ChildCost run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    const char* chosen = std::getenv("QUARVEL_SYNTH");
    std::string program = chosen != nullptr && *chosen != '\0' ? chosen : QUARVEL_SYNTH_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error("cannot start " + program);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(program + " failed");
    }
    const auto seconds = [](timeval t) { return t.tv_sec + t.tv_usec * 1e-6; };
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime),
            static_cast<double>(usage.ru_minflt + usage.ru_majflt)};
}

// Log rows every centimetre down to the depth, the velocity varying by the
// swing about its mean.
void writeLog(const std::filesystem::path& folder, double bottom, double velocity, double swing) {
    TextBuilder log;
    const int rows = static_cast<int>(std::lround(bottom * 100));
    for (int i = 1; i <= rows; ++i) {
        const double depth = bottom * i / rows;
        log.line(numbers::formatFixed(depth, 3) + " " +
                 numbers::formatF3(velocity + swing * std::sin(depth * 7)) + " " +
                 numbers::formatF3(1.7 + 0.1 * std::cos(depth * 11)));
    }
    writeTextFile(folder / "log.dat", log.text());
}

void runSynthetic(benchmark::State& state, double bottom, double velocity, double swing,
                  const std::vector<std::string>& chirp,
                  const std::vector<std::string>& synthetic) {
    const ScratchDir scratch;
    std::vector<std::string> chirpArgs{"chirp", "--workdir", scratch.folder.string()};
    chirpArgs.insert(chirpArgs.end(), chirp.begin(), chirp.end());
    std::vector<std::string> args{"synthetic", "--workdir", scratch.folder.string()};
    args.insert(args.end(), synthetic.begin(), synthetic.end());
    writeLog(scratch.folder, bottom, velocity, swing);
    run(chirpArgs);
    double cpu = 0;
    double faults = 0;
    for (auto _ : state) {
        const ChildCost cost = run(args);
        cpu += cost.cpuSeconds;
        faults += cost.pageFaults;
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["cpu_ms"] = benchmark::Counter(cpu * 1e3 / runs);
    state.counters["faults"] = benchmark::Counter(faults / runs);
}

void BM_SyntheticProcess10mCore(benchmark::State& state) {
    const std::vector<std::string> parameters{"--start", "1000",       "--end",
                                              "12000",   "--interval", "0.000005"};
    runSynthetic(state, 10, 1510, 30, parameters, parameters);
}
BENCHMARK(BM_SyntheticProcess10mCore)->Unit(benchmark::kMillisecond)->UseRealTime();

// 0.3175 s of two-way time at 10 us with the default wavelet.
void BM_SyntheticProcessLargest(benchmark::State& state) {
    runSynthetic(state, 0.3175 * 1600 / 2, 1600, 0, {}, {});
}
BENCHMARK(BM_SyntheticProcessLargest)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
