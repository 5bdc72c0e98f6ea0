// Times whole korvex-gen processes over three workloads, with and without working files, and
// the cost of creating as many files as the largest one writes, on the same disk; then
// checking the largest script against generating it once, and listing every text of the
// smallest against generating as many.
//
//   korvex-bench PATH/TO/korvex-gen [--runs N] [--dir FOLDER] [--part NAME]
//
// NAME runs one part alone: generation, floor, out, similarity or jobs.

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
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "batch/text_drawer.h"
#include "workload.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Sample {
    double ms;
    long peakKiB;
    double cpuMs;  ///< user and system time of the child
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
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss,
            ms(usage.ru_utime) + ms(usage.ru_stime)};
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

// The floor's workloads (large.tpl, medium.tpl, small.tpl and others) in `dir`.
void makeFloorWorkloads(const fs::path& dir) {
    fs::create_directories(dir);
    const std::string make =
        "python3 '" KORVEX_FLOOR_WORKLOADS "' '" + dir.string() + "' >/dev/null";
    if (std::system(make.c_str()) != 0) {
        std::fprintf(stderr, "could not make the floor's workloads\n");
        std::exit(1);
    }
}

// The plain loop --out is measured against: `count` files of `text` each, in a fresh folder.
double plainFileLoopMs(const fs::path& dir, std::size_t count, const std::string& text) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    const auto start = Clock::now();
    for (std::size_t i = 1; i <= count; ++i) {
        const std::string name = (dir / ("text-" + std::to_string(i) + ".txt")).string();
        std::FILE* f = std::fopen(name.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// --out with 10^5 texts of the 30-line script against generating them to standard output plus
// a plain loop writing as many files of that size (target: at most 2 times on memory-backed
// storage, 3 times on disk), on both kinds of storage, the loop and --out in turns.
void outFiles(const std::string& gen, const fs::path& root, const fs::path& diskBase, int runs) {
    const fs::path script = root / "letter.ini";
    std::ofstream(script, std::ios::binary) << korvex::bench::smallScript();
    constexpr std::size_t kTexts = 100'000;
    const std::string count = std::to_string(kTexts);
    const fs::path sample = root / "sample";
    // One text as --out writes it: the plain loop writes files of its size.
    measure({gen, "--seed", "1", "--out", sample.string(), script.string()}, 1, &sample);
    std::string text;
    for (const auto& entry : fs::directory_iterator(sample)) {
        std::ifstream in(entry.path(), std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    const double generated = measure({gen, "-n", count, script.string()}, runs, nullptr).ms;
    std::printf("\n%-30s %10s %10s %10s %8s\n", "--out, 100,000 texts", "gen ms", "loop ms",
                "--out ms", "ratio");
    const std::pair<const char*, fs::path> places[] = {{"memory", root}, {"disk", diskBase}};
    for (const auto& [kind, base] : places) {
        const fs::path dir = base / ("korvex-bench-out-" + std::to_string(::getpid()));
        const int turns = kind == std::string("disk") ? std::min(runs, 3) : runs;
        std::vector<double> loops, outs;
        for (int r = 0; r < turns; ++r) {
            loops.push_back(plainFileLoopMs(dir, kTexts, text));
            fs::remove_all(dir);
            outs.push_back(runOnce({gen, "-n", count, "--out", dir.string(), script.string()}).ms);
            fs::remove_all(dir);
        }
        const double loop = median(loops);
        const double out = median(outs);
        const double ratio = out / (generated + loop);
        const double target = kind == std::string("disk") ? 3 : 2;
        std::printf("%-30s %10.1f %10.1f %10.1f %7.2f%s (target at most %.0f; under %s)\n",
                    (std::string("  on ") + kind).c_str(), generated, loop, out, ratio,
                    ratio <= target ? " " : "!", target, base.c_str());
    }
}

// A host for drawing in this process: the workloads ask nothing.
class SilentHost : public korvex::engine::Host {
public:
    void showMessage(std::string_view) override {}
    std::optional<std::string> askInput(std::string_view) override { return std::nullopt; }
    std::string dateText() override { return "date"; }
    std::string timeText() override { return "time"; }
};

struct Kept {
    std::vector<std::uint64_t> draws;
    std::uint64_t drawn = 0;
    double ms = 0;
};

// The draw numbers kept at --max-similarity `percent`, drawn in this process.
Kept keptDraws(const fs::path& script, std::uint64_t wanted, double percent, bool everyText) {
    korvex::engine::Options options;
    options.scriptFile = script;
    options.jumpFolder = script.parent_path();
    SilentHost host;
    korvex::engine::Random random(1);
    korvex::batch::DrawSettings settings;
    settings.wanted = wanted;
    settings.maxSimilarity = percent;
    settings.compareEveryText = everyText;
    const auto start = Clock::now();
    korvex::batch::TextDrawer drawer(options, script.string(), host, random, settings);
    Kept kept;
    while (drawer.next()) {
        kept.draws.push_back(drawer.draw());
    }
    kept.drawn = drawer.draws();
    kept.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return kept;
}

// --max-similarity 95 over the floor's 30-line script: 10^5 texts by korvex-gen (target: under
// 30 s), beside generating as many texts as it drew; and at 10^4 texts the index against
// comparing every draw with every text kept, which must keep the same texts.
void nearCopies(const std::string& gen, const fs::path& root) {
    const fs::path dir = root / "floor";
    makeFloorWorkloads(dir);
    const fs::path script = dir / "small.tpl";
    const Sample indexed =
        runOnce({gen, "--seed", "1", "-n", "100000", "--max-similarity", "95", script.string()});
    const Kept counted = keptDraws(script, 100'000, 95, false);
    const Sample plain =
        runOnce({gen, "--seed", "1", "-n", std::to_string(counted.drawn), script.string()});
    std::printf("\n%-44s %10s %10s %10s %10s\n", "--max-similarity 95, 30-line script", "time ms",
                "cpu ms", "peak KiB", "target");
    std::printf("%-44s %10.1f %10.1f %10ld %9.0f%s\n", "  korvex-gen, 100,000 texts", indexed.ms,
                indexed.cpuMs, indexed.peakKiB, 30000.0, indexed.ms < 30000 ? " " : "!");
    std::printf("%-44s %10.1f %10.1f %10ld\n",
                ("  the " + std::to_string(counted.drawn) + " texts it drew, -n").c_str(), plain.ms,
                plain.cpuMs, plain.peakKiB);
    const Kept index = keptDraws(script, 10'000, 95, false);
    const Kept every = keptDraws(script, 10'000, 95, true);
    std::printf("%-44s %10.1f\n", "  10,000 texts, index (in this process)", index.ms);
    std::printf("%-44s %10.1f   %s\n", "  10,000 texts, every text compared", every.ms,
                index.draws == every.draws ? "the same texts kept" : "DIFFERENT TEXTS KEPT !");
}

// --check of the 50,000-block script against one generation of it (target: at most twice
// as long), and --all over the 30-line script against -n as many texts (target: no slower a
// text, and memory that does not grow with the texts beyond the set that tells them apart).
void checkAndList(const std::string& gen, const fs::path& root, int runs) {
    const fs::path large = root / "large.ini";
    std::ofstream(large, std::ios::binary) << korvex::bench::blockScript(50000, 4);
    const fs::path small = root / "small.ini";
    std::ofstream(small, std::ios::binary) << korvex::bench::smallScript();

    const Result generated = measure({gen, large.string()}, runs, nullptr);
    const Result checked = measure({gen, "--check", large.string()}, runs, nullptr);
    std::printf("\n%-34s %10s %10s\n", "checking and listing", "time ms", "peak KiB");
    std::printf("%-34s %10.1f %10ld\n", "50,000 blocks, one generation", generated.ms,
                generated.peakKiB);
    std::printf("%-34s %10.1f %10ld   %.2f times a generation (target at most 2)%s\n",
                "50,000 blocks, --check", checked.ms, checked.peakKiB, checked.ms / generated.ms,
                checked.ms <= 2 * generated.ms ? "" : " !");

    const double texts = 100000;
    const Result many = measure({gen, "-n", "100000", small.string()}, runs, nullptr);
    const Result listed =
        measure({gen, "--all", "--limit", "100000", small.string()}, runs, nullptr);
    const Result fewer = measure({gen, "--all", "--limit", "10000", small.string()}, runs, nullptr);
    std::printf("%-34s %10.1f %10ld   %.2f us a text\n", "30 lines, -n 100000", many.ms,
                many.peakKiB, many.ms * 1000 / texts);
    std::printf("%-34s %10.1f %10ld   %.2f us a text: %.2f times -n (target at most 1)%s\n",
                "30 lines, --all --limit 100000", listed.ms, listed.peakKiB,
                listed.ms * 1000 / texts, listed.ms / many.ms, listed.ms <= many.ms ? "" : " !");
    std::printf("%-34s %10.1f %10ld   90,000 more texts add %ld KiB\n",
                "30 lines, --all --limit 10000", fewer.ms, fewer.peakKiB,
                listed.peakKiB - fewer.peakKiB);
}

// korvex-gen against the plain C++ floor on the floor's own three workloads, the two run in
// turns: with --seed 1, and without a seed, as users run it, where every block's draw re-seeds
// from the clock (target: at most 1.15 times the floor either way).
void floorRatios(const std::string& gen, const fs::path& root, int runs) {
    const fs::path dir = root / "floor";
    makeFloorWorkloads(dir);
    std::printf("\n%-14s %10s %10s %10s %8s %8s\n", "against floor", "floor ms", "seed 1 ms",
                "no seed ms", "seed 1", "no seed");
    for (const auto& [size, k] : {std::pair{"large", 1}, {"medium", 20}, {"small", 1000}}) {
        const std::string script = (dir / (std::string(size) + ".tpl")).string();
        const std::string count = std::to_string(k);
        const std::vector<std::string> seeded{gen, "--seed", "1", "-n", count, script};
        const std::vector<std::string> unseeded{gen, "-n", count, script};
        std::vector<std::string> floor{KORVEX_FLOOR_PROGRAM, script, count};
        if (k > 1) {
            floor.emplace_back("--reparse");  // korvex-gen reads the script for every text
        }
        std::vector<double> times[3];
        for (int r = 0; r <= runs; ++r) {
            const double f = runOnce(floor).ms;
            const double s = runOnce(seeded).ms;
            const double u = runOnce(unseeded).ms;
            if (r > 0) {  // the first round only warms the caches
                times[0].push_back(f);
                times[1].push_back(s);
                times[2].push_back(u);
            }
        }
        const double f = median(times[0]);
        const double s = median(times[1]);
        const double u = median(times[2]);
        std::printf("%-14s %10.1f %10.1f %10.1f %7.2f%s %7.2f%s\n",
                    (std::string(size) + "x" + count).c_str(), f, s, u, s / f,
                    s <= 1.15 * f ? " " : "!", u / f, u <= 1.15 * f ? " " : "!");
    }
}

// The load of the machine, which other programs share: the 1-minute average.
std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one;
    in >> one;
    return one.empty() ? std::string("unknown") : one;
}

// 10^6 texts of the 30-line script with --text-seeds on one thread and on two, in turns (target:
// two at least 1.8 times as fast where there are two cores), and the peak memory, which must
// not grow with the threads nor with the texts.
void jobs(const std::string& gen, const fs::path& root, int runs) {
    const fs::path script = root / "letter.ini";
    std::ofstream(script, std::ios::binary) << korvex::bench::smallScript();
    auto args = [&](const char* threads, const char* count) {
        return std::vector<std::string>{gen,     "--seed", "1",   "--text-seeds", "-j",
                                        threads, "-n",     count, script.string()};
    };
    const std::string before = loadAverage();
    std::vector<double> one, two, oneCpu, twoCpu;
    long onePeak = 0, twoPeak = 0;
    for (int r = 0; r < std::min(runs, 5); ++r) {
        const Sample a = runOnce(args("1", "1000000"));
        const Sample b = runOnce(args("2", "1000000"));
        one.push_back(a.ms);
        two.push_back(b.ms);
        oneCpu.push_back(a.cpuMs);
        twoCpu.push_back(b.cpuMs);
        onePeak = std::max(onePeak, a.peakKiB);
        twoPeak = std::max(twoPeak, b.peakKiB);
    }
    const double speedUp = median(one) / median(two);
    const long fourPeak = runOnce(args("4", "1000000")).peakKiB;
    const long fewerPeak = runOnce(args("2", "100000")).peakKiB;
    std::printf("\n%-40s %10s %10s %10s\n", "-j, 10^6 texts of the 30-line script", "time ms",
                "cpu ms", "peak KiB");
    std::printf("%-40s %10.1f %10.1f %10ld\n", "  -j 1", median(one), median(oneCpu), onePeak);
    std::printf(
        "%-40s %10.1f %10.1f %10ld   %.2f times as fast (target at least 1.8 on %u cores)%s\n",
        "  -j 2", median(two), median(twoCpu), twoPeak, speedUp,
        std::thread::hardware_concurrency(), speedUp >= 1.8 ? "" : " !");
    std::printf("%-40s %10s %10s %10ld\n", "  -j 4", "", "", fourPeak);
    std::printf("%-40s %10s %10s %10ld\n", "  -j 2, 10^5 texts", "", "", fewerPeak);
    std::printf("  load average before %s, after %s\n", before.c_str(), loadAverage().c_str());
}

void generation(const std::string& gen, const fs::path& root, int runs);

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Usage: korvex-bench PATH/TO/korvex-gen [--runs N] [--dir FOLDER]\n");
        return 2;
    }
    const std::string gen = fs::absolute(argv[1]).string();
    int runs = 7;
    std::string part;
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
        } else if (option == "--part") {
            part = argv[i + 1];
        }
    }
    const fs::path root = base / ("korvex-bench-" + std::to_string(::getpid()));
    fs::create_directories(root);

    std::printf("korvex-gen benchmark: %s, median of %d runs, work folder under %s\n", gen.c_str(),
                runs, base.c_str());
    auto wanted = [&](const char* name) { return part.empty() || part == name; };
    if (wanted("floor")) {
        floorRatios(gen, root, runs);
    }
    if (wanted("out")) {
        // Beside the benchmark program: the build folder, on the disk the project lives on.
        const fs::path disk = fs::read_symlink("/proc/self/exe").parent_path();
        outFiles(gen, root, disk, runs);
    }
    if (wanted("similarity")) {
        nearCopies(gen, root);
    }
    if (wanted("jobs")) {
        jobs(gen, root, runs);
    }
    if (wanted("generation")) {
        generation(gen, root, runs);
    }
    fs::remove_all(root);
    return 0;
}

namespace {

void generation(const std::string& gen, const fs::path& root, int runs) {
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

    std::printf("\n%-20s %9s %6s %10s %9s %12s %10s %9s\n", "workload", "size", "gens", "time ms",
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
    checkAndList(gen, root, runs);
}

}  // namespace
