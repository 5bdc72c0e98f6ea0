// Times the generated-text window: F5 pressed to the text shown (generation, the text box
// taking the text, and painting it), median of several runs, beside whole korvex-gen
// processes on the same script; and the memory of this process with the largest text shown.
// The working-file record is written on the writer's thread meanwhile; its time is reported
// apart, and each press waits (untimed) until the previous record is on disk.
//
//   korvex-gui-bench [--runs N] [--korvex-gen PATH] [--dir FOLDER]

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/random.h"
#include "gui/bench_program.h"
#include "output/output_controls.h"
#include "output/output_window.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "widgets/record_writer.h"
#include "widgets/shared_state.h"
#include "workload.h"

namespace outputControls = korvex::ui::outputControls;

extern char** environ;

namespace {

namespace fs = std::filesystem;
using korvex::bench::BenchCommands;
using korvex::bench::median;
using korvex::bench::NoDesktop;
using korvex::bench::SilentDialogs;

/// A script whose text is about 2.7 MB: 50,000 plain lines of 54 characters, no blocks.
std::string plainTextScript() {
    std::string script;
    for (int line = 0; line < 50000; ++line) {
        std::string text = "Line " + std::to_string(line) + " of a long letter, read by many";
        text.resize(52, '.');
        script += text + "\\b\\\r\n";
    }
    return script;
}

/// One whole korvex-gen process on `script`, output thrown away; milliseconds.
double korvexGenMs(const std::string& gen, const fs::path& script) {
    std::vector<std::string> argv{gen, script.string()};
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (auto& a : argv) {
        args.push_back(a.data());
    }
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
        std::perror("posix_spawn");
        std::exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const double ms = clock.nsecsElapsed() / 1e6;
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "korvex-gen failed (status %d)\n", status);
        std::exit(1);
    }
    return ms;
}

/// A field of /proc/self/status in KiB ("VmRSS", "VmHWM").
long statusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::atol(line.c_str() + field.size() + 1);
        }
    }
    return -1;
}

struct Timing {
    double showMs;    // F5 to text shown, median, the previous record on disk
    double busyMs;    // the same while the previous record is still being written
    double recordMs;  // text shown to record on disk, median
    qsizetype characters;
};

Timing timeWindow(korvex::ui::SharedState& state, const QString& project, int runs) {
    auto* window = new korvex::ui::OutputWindow(state);
    window->setWindowTitle(project);
    window->setProjectPath("Projects\\" + project);
    QMdiSubWindow* frame = state.commands.addChild(window);
    auto* text = window->findChild<QPlainTextEdit*>(outputControls::text);
    window->generate();  // the start-up run, not timed
    state.recordWriter.waitForIdle();

    int generated = 0;
    QObject::connect(window, &korvex::ui::OutputWindow::generated, [&generated] { ++generated; });
    std::vector<double> shows;
    std::vector<double> records;
    for (int r = 0; r < runs; ++r) {
        text->setFocus();
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(text, Qt::Key_F5);
        text->viewport()->repaint();
        shows.push_back(clock.nsecsElapsed() / 1e6);
        if (generated != r + 1) {
            std::fprintf(stderr, "F5 did not generate (is the window active?)\n");
            std::exit(1);
        }
        clock.restart();
        state.recordWriter.waitForIdle();
        records.push_back(clock.nsecsElapsed() / 1e6);
    }
    // Pressed again at once: the record of the last run is still being written meanwhile.
    std::vector<double> busy;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(text, Qt::Key_F5);
        text->viewport()->repaint();
        busy.push_back(clock.nsecsElapsed() / 1e6);
    }
    state.recordWriter.waitForIdle();
    const Timing timing{median(shows), median(busy), median(records), text->toPlainText().size()};
    // The largest text stays shown for the memory figure; the others go.
    if (project != "Blocks") {
        frame->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return timing;
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int runs = 7;
    std::string gen = KORVEX_GEN_PATH;
    // Working files of the large script go to memory-backed storage where there is one: on
    // this disk creating files right after deleting many is slow in a way that says nothing
    // about the program (and the record is off the clock anyway).
    fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--runs") {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (option == "--korvex-gen") {
            gen = fs::absolute(argv[i + 1]).string();
        } else if (option == "--dir") {
            base = fs::absolute(argv[i + 1]);
        }
    }
    QApplication app(argc, argv);

    const fs::path root = base / ("korvex-gui-bench-" + std::to_string(::getpid()));
    for (const char* sub : {"Projects", "Temp", "Exported"}) {
        fs::create_directories(root / sub);
    }
    std::ofstream(root / "Projects" / "Small.ini", std::ios::binary)
        << korvex::bench::smallScript();
    std::ofstream(root / "Projects" / "Blocks.ini", std::ios::binary)
        << korvex::bench::blockScript(50000, 4);
    std::ofstream(root / "Projects" / "Plain.ini", std::ios::binary) << plainTextScript();

    SilentDialogs dialogs;
    NoDesktop desktop;
    korvex::engine::Random random(1);
    long rssBefore = 0;
    long rssShown = 0;
    {
        korvex::ui::RecordWriter writer;
        QMdiArea area;
        area.resize(1280, 800);
        area.show();
        area.activateWindow();
        if (!QTest::qWaitForWindowActive(&area)) {
            std::fprintf(stderr, "The window never became active.\n");
            return 1;
        }
        BenchCommands commands(area);
        korvex::ui::SharedState state(korvex::store::AppFolder(root), dialogs, desktop, random,
                                      writer, commands);

        std::printf("korvex-gui-bench: median of %d runs, application folder %s\n", runs,
                    root.c_str());
        std::printf("%-20s %9s %13s %13s %14s %10s %10s\n", "workload", "chars", "korvex-gen ms",
                    "F5->shown ms", "while record", "target ms", "record ms");
        rssBefore = statusKiB("VmRSS");
        struct Workload {
            const char* project;
            const char* name;
        };
        for (const auto& [project, name] :
             {Workload{"Small", "30-line script"}, Workload{"Plain", "2.7 MB of text"},
              Workload{"Blocks", "50,000 blocks of 4"}}) {
            const Timing window = timeWindow(state, project, runs);
            std::vector<double> gens;
            gens.reserve(static_cast<std::size_t>(runs));
            for (int r = 0; r < runs; ++r) {
                gens.push_back(
                    korvexGenMs(gen, root / "Projects" / (std::string(project) + ".ini")));
            }
            const double genMs = median(gens);
            const double target = genMs * 1.5 + 30;
            std::printf("%-20s %9lld %13.1f %13.1f %14.1f %9.1f%s %10.1f\n", name,
                        static_cast<long long>(window.characters), genMs, window.showMs,
                        window.busyMs, target, window.showMs <= target ? " " : "!",
                        window.recordMs);
        }
        rssShown = statusKiB("VmRSS");
        std::printf(
            "\nMemory with the 50,000-block text shown: VmRSS %ld KiB (%ld KiB before the "
            "first window), peak VmHWM %ld KiB\n",
            rssShown, rssBefore, statusKiB("VmHWM"));
    }
    fs::remove_all(root);
    return 0;
}
