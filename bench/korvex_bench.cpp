// Times whole korvex-gen processes over three workloads, with and without working files, and
// the cost of creating as many files as the largest one writes, on the same disk.
//
//   korvex-bench PATH/TO/korvex-gen [--runs N] [--dir FOLDER]

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "workload.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Sample {
    double ms;
    long peakKiB;
};

// Runs the program once with standard output and error thrown away.
Sample runOnce(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const auto& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = Clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "korvex-gen failed (status %d)\n", status);
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Result {
    double ms;
    long peakKiB;
};

Result measure(const std::vector<std::string>& argv, int runs, const fs::path* freshDir) {
    std::vector<double> times;
    long peak = 0;
    for (int r = 0; r < runs; ++r) {
        if (freshDir) {
            fs::remove_all(*freshDir);  // not timed: every run starts on an empty folder
        }
        const Sample s = runOnce(argv);
        times.push_back(s.ms);
        peak = std::max(peak, s.peakKiB);
    }
    return {median(times), peak};
}

// What creating `count` small files costs on this disk, in a fresh folder.
double fileCreationMs(const fs::path& dir, std::size_t count, int runs) {
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        const auto start = Clock::now();
        for (std::size_t i = 0; i < count; ++i) {
            const std::string name = (dir / (std::to_string(i) + ".txt")).string();
            std::FILE* f = std::fopen(name.c_str(), "wb");
            std::fputs("[.dot4.]sunny harbour\r\n", f);
            std::fclose(f);
        }
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    fs::remove_all(dir);
    return median(times);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Usage: korvex-bench PATH/TO/korvex-gen [--runs N] [--dir FOLDER]\n");
        return 2;
    }
    const std::string gen = fs::absolute(argv[1]).string();
    int runs = 7;
    // Working files of large scripts go to memory-backed storage where there is one, unless
    // --dir names a folder: on this disk, creating files right after deleting many is slow in
    // a way that says nothing about the program.
    fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--runs") {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (option == "--dir") {
            base = fs::absolute(argv[i + 1]);
        }
    }
    const fs::path root = base / ("korvex-bench-" + std::to_string(::getpid()));
    fs::create_directories(root);

    struct Workload {
        const char* name;
        std::string script;
        int generations;
        double targetMs;
        std::size_t blocks;
    };
    const Workload workloads[] = {
        {"30-line script", korvex::bench::smallScript(), 1000, 45, 12},
        {"2,000 blocks of 4", korvex::bench::blockScript(2000, 4), 20, 30, 2000},
        {"50,000 blocks of 4", korvex::bench::blockScript(50000, 4), 1, 60, 50000},
    };

    std::printf("korvex-gen benchmark: %s, median of %d runs, work folder under %s\n\n",
                gen.c_str(), runs, base.c_str());
    std::printf("%-20s %9s %6s %10s %9s %12s %10s %9s\n", "workload", "size", "gens", "time ms",
                "target", "gens/s", "peak KiB", "peak/size");
    double largestExtraMs = 0;
    for (const auto& w : workloads) {
        const fs::path script = root / "script.ini";
        std::ofstream(script, std::ios::binary) << w.script;
        const std::vector<std::string> plain{gen, "-n", std::to_string(w.generations),
                                             script.string()};
        const Result r = measure(plain, runs, nullptr);
        const double sizeKiB = static_cast<double>(w.script.size()) / 1024.0;
        std::printf("%-20s %8.0fK %6d %10.1f %8.0f%s %12.0f %10ld %9.1f\n", w.name, sizeKiB,
                    w.generations, r.ms, w.targetMs, r.ms < w.targetMs ? " " : "!",
                    w.generations / (r.ms / 1000.0), r.peakKiB, r.peakKiB / sizeKiB);

        const fs::path work = root / "work";
        std::vector<std::string> withFiles{
            gen, "-n", std::to_string(w.generations), "--work-dir", work.string(), script.string()};
        const Result f = measure(withFiles, runs, &work);
        std::printf("%-20s %9s %6d %10.1f %9s %12.0f %10ld\n", "  + working files", "",
                    w.generations, f.ms, "", w.generations / (f.ms / 1000.0), f.peakKiB);
        largestExtraMs = f.ms - r.ms;
    }
    const std::size_t files = 50001 + 1;  // Temp.txt, 0.txt and one file a block
    const double createMs = fileCreationMs(root / "files", files, runs);
    std::printf(
        "\nWorking files of the 50,000-block script add %.1f ms; creating %zu files costs "
        "%.1f ms here: %.2f times (target at most 1.5).\n",
        largestExtraMs, files, createMs, largestExtraMs / createMs);
    fs::remove_all(root);
    return 0;
}
