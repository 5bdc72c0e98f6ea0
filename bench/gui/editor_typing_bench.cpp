// Times typing in the editor on two scripts: 2.5 MB in 50,000 lines, and 1 MB on one line
// (an article pasted whole). A key pressed in the pane to the pane repainted (the key's edit,
// the line coloured again, the repaint), at the start, the middle and the end of the script;
// with no check running, and while the checker works on the script on its thread. Also the
// editor's load, switching the colours on, the moments the check takes the GUI thread (taking
// the text, showing the findings), and the processor time the idle window takes while its
// caret blinks and once it has stopped. Each with colours on and off. With colours on, keys with
// the live preview off and with a preview generating, and the preview's moments on the GUI thread.
// Runs offscreen.
//
//   korvex-editor-bench [--keys N] [--dir FOLDER] [--case 1|2]

#include <sys/resource.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "editor/check_runner.h"
#include "editor/editor_controls.h"
#include "editor/editor_window.h"
#include "editor/preview_runner.h"
#include "engine/random.h"
#include "gui/bench_program.h"
#include "platform/caret_blink.h"
#include "widgets/record_writer.h"
#include "workload.h"

namespace {

namespace fs = std::filesystem;
namespace editorControls = korvex::editor::editorControls;
using korvex::bench::percentile;
using korvex::editor::CheckRunner;
using korvex::editor::EditorWindow;
using korvex::platform::CaretBlinkTimeout;

/// 50,000 blocks of 4 (about 2.5 MB) and, every 250 lines, a block left open: 200 findings.
std::string faultyBlockScript() {
    const std::string blocks = korvex::bench::blockScript(50000, 4);
    std::string script;
    script.reserve(blocks.size() + 4000);
    std::size_t line = 0;
    for (std::size_t at = 0; at < blocks.size();) {
        const std::size_t end = blocks.find('\n', at) + 1;
        script.append(blocks, at, end - at);
        at = end;
        if (++line % 250 == 0) {
            script += "Left open {x|y\r\n";
        }
    }
    return script;
}

/// About 1 MB on one line of spun sentences, and one block left open at its end: 1 finding.
std::string longLineScript() {
    const std::string sentence =
        "The {quick|fast|rapid} brown {fox|dog} jumps over the {lazy|sleepy} dog, "
        "\\s\\and {then|later} {runs|walks} {home|away}. ";
    std::string script;
    script.reserve(1'000'100);
    while (script.size() < 1'000'000) {
        script += sentence;
    }
    script += "Left open {x|y\r\n";
    return script;
}

double processCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double msSince(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

/// Counts the paint events `widget` gets while it lives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) : widget_(widget) { widget->installEventFilter(this); }
    ~PaintCounter() override { widget_->removeEventFilter(this); }
    PaintCounter(const PaintCounter&) = delete;
    PaintCounter& operator=(const PaintCounter&) = delete;
    int count() const { return count_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        count_ += event->type() == QEvent::Paint ? 1 : 0;
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* widget_;
    int count_ = 0;
};

struct Figures {
    std::vector<double> keys;
    std::vector<double> checkStarts;  // the GUI thread taking the text for a check
    std::vector<double> shows;        // the GUI thread showing a check's findings
    int overlapped = 0;               // keys timed while the check was still running
};

/// Starts `runner`'s job at once through its `delay` and waits until it runs; returns how long
/// the GUI thread took to hand it over.
template <typename Runner>
double startNow(QTimer* delay, const Runner& runner) {
    delay->start(0);
    QElapsedTimer clock;
    clock.start();
    while (!runner.isBusy()) {
        QCoreApplication::processEvents();
    }
    return msSince(clock);
}

/// Stops `delay`, waits for the job `runner` runs and shows its result; returns the GUI
/// thread's share.
template <typename Runner>
double finish(QTimer* delay, const Runner& runner) {
    delay->stop();
    while (runner.isBusy()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::processEvents();
    return msSince(clock);
}

/// The caret of `pane` to `position`, in sight and painted.
void placeCaret(QPlainTextEdit* pane, int position) {
    QTextCursor caret(pane->document());
    caret.setPosition(position);
    pane->setTextCursor(caret);
    pane->ensureCursorVisible();
    pane->viewport()->repaint();
}

/// One key at the caret of `pane`, timed to the repaint.
double timedKey(QPlainTextEdit* pane) {
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(pane, 'x');
    pane->viewport()->repaint();
    return msSince(clock);
}

class Typist {
public:
    explicit Typist(EditorWindow& window)
        : pane_(window.findChild<QPlainTextEdit*>(editorControls::unwrappedPane)),
          delay_(window.findChild<QTimer*>("checkTimer")),
          runner_(window.findChild<CheckRunner*>()) {}

    /// Waits for the check that runs, and shows its findings; returns the GUI thread's share.
    double settle() { return finish(delay_, *runner_); }

    /// One key at `position`, timed to the repaint; with `checking`, a check of the whole
    /// script starts just before.
    void press(int position, bool checking, Figures& figures) {
        placeCaret(pane_, position);
        if (checking) {
            figures.checkStarts.push_back(startNow(delay_, *runner_));
        }
        figures.keys.push_back(timedKey(pane_));
        if (checking) {
            figures.overlapped += runner_->isBusy() ? 1 : 0;
            figures.shows.push_back(settle());
        } else {
            settle();
        }
    }

private:
    QPlainTextEdit* pane_;
    QTimer* delay_;
    CheckRunner* runner_;
};

void report(const char* what, const std::vector<double>& values) {
    if (values.empty()) {
        return;
    }
    std::printf("  %-44s median %7.2f  p90 %7.2f  max %7.2f ms  (%zu)\n", what,
                percentile(values, 0.5), percentile(values, 0.9), percentile(values, 1.0),
                values.size());
}

/// Keys with the live preview off, then on with a preview of the whole script generating on its
/// thread while each key is timed; the same places, the checker idle in both.
void timePreview(EditorWindow& window, const std::vector<int>& places, int keys, Typist& typist) {
    auto* pane = window.findChild<QPlainTextEdit*>(editorControls::unwrappedPane);
    auto* delay = window.findChild<QTimer*>("previewTimer");
    auto* runner = window.findChild<korvex::editor::PreviewRunner*>();
    auto* onOff = window.findChild<QAction*>("PreviewX");
    const auto key = [pane](int place, std::vector<double>& into) {
        placeCaret(pane, place);
        into.push_back(timedKey(pane));
    };
    // Waits for the preview that runs and shows it; returns the GUI thread's share.
    const auto settle = [&] {
        const double ms = finish(delay, *runner);
        typist.settle();
        return ms;
    };
    std::vector<double> off;
    std::vector<double> on;
    std::vector<double> starts;
    std::vector<double> shows;
    int overlapped = 0;
    for (const int place : places) {
        for (int k = 0; k < keys; ++k) {
            key(place, off);
            settle();
        }
    }
    onOff->trigger();
    settle();
    for (const int place : places) {
        for (int k = 0; k < keys; ++k) {
            starts.push_back(startNow(delay, *runner));
            key(place, on);
            overlapped += runner->isBusy() ? 1 : 0;
            shows.push_back(settle());
        }
    }
    onOff->trigger();
    report("key to repaint, preview off", off);
    report("key to repaint, preview generating", on);
    std::printf("  (%d of %zu keys were timed wholly while the preview generated)\n", overlapped,
                on.size());
    std::printf("  preview on / off, median key to repaint: %.2f\n",
                percentile(on, 0.5) / percentile(off, 0.5));
    report("preview taking the text (GUI thread)", starts);
    report("preview shown (GUI thread)", shows);
}

struct Case {
    const char* name;
    std::string script;
    /// Where the keys go: at the start, the middle and the end of the script.
    std::vector<int> (*places)(QTextDocument& document);
};

std::vector<int> startOfLines(QTextDocument& document) {
    const int last = document.blockCount() - 1;
    std::vector<int> places;
    for (const int line : {0, last / 2, last}) {
        places.push_back(document.findBlockByNumber(line).position() + 5);
    }
    return places;
}

std::vector<int> alongTheLine(QTextDocument& document) {
    const int length = document.firstBlock().length() - 1;
    return {5, length / 2, length - 5};
}

/// One script in one editor, colours on or off; false when it did not load.
bool runCase(const Case& c, bool coloured, int keys, const fs::path& root,
             korvex::ui::SharedState& state, korvex::bench::BenchCommands& commands,
             const CaretBlinkTimeout& caretBlink) {
    std::ofstream(root / "Projects" / "Big.ini", std::ios::binary) << c.script;
    std::ofstream(root / "Extra" / "Highlight.ini", std::ios::binary)
        << (coloured ? "1\r\n" : "0\r\n");
    auto* window = new EditorWindow(state);
    window->setWindowTitle("Big");
    QMdiSubWindow* frame = commands.addChild(window);
    // At the area's corner: a window placed beside the last one would have its caret off the
    // area, where no blink is drawn.
    frame->setGeometry(0, 0, 1000, 700);
    QSignalSpy loaded(window, &EditorWindow::loaded);
    QElapsedTimer clock;
    clock.start();
    if (!loaded.wait(120000)) {
        std::fprintf(stderr, "The editor did not load the script.\n");
        return false;
    }
    const double loadMs = msSince(clock) - 100;  // the load timer's own delay
    auto* list = window->findChild<QTreeWidget*>("Diagnostics");
    while (list->isHidden()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    std::printf("\n%s, colours %s: load %.0f ms, first check shown after %.0f ms, %d findings\n",
                c.name, coloured ? "on" : "off", loadMs, msSince(clock) - 100 - loadMs,
                list->topLevelItemCount());

    Typist typist(*window);
    typist.settle();
    auto* pane = window->findChild<QPlainTextEdit*>(editorControls::unwrappedPane);
    Figures idle;
    Figures checking;
    for (const int place : c.places(*pane->document())) {
        for (int k = 0; k < keys; ++k) {
            typist.press(place, false, idle);
            typist.press(place, true, checking);
        }
    }
    report("key to repaint, no check running", idle.keys);
    report("key to repaint, check running", checking.keys);
    std::printf("  (%d of %zu keys were timed wholly while the check ran)\n", checking.overlapped,
                checking.keys.size());
    report("check taking the text (GUI thread)", checking.checkStarts);
    report("findings shown (GUI thread)", checking.shows);
    if (coloured) {
        timePreview(*window, c.places(*pane->document()), keys, typist);
    }

    // The window left alone with the focus in the pane, its caret blinking.
    typist.settle();
    pane->activateWindow();
    if (!QTest::qWaitForWindowActive(pane->window())) {
        std::fprintf(stderr, "The editor's window did not become active.\n");
    }
    pane->setFocus();
    std::vector<double> repaints;
    for (int i = 0; i < 10; ++i) {
        clock.restart();
        pane->viewport()->repaint();
        repaints.push_back(msSince(clock));
    }
    report("one repaint of the idle pane", repaints);
    const int idleMs = qEnvironmentVariableIntValue("KORVEX_BENCH_IDLE_MS") > 0
                           ? qEnvironmentVariableIntValue("KORVEX_BENCH_IDLE_MS")
                           : 3000;
    const auto idleFor = [&](const char* what) {
        PaintCounter paints(pane->viewport());
        const double cpuBefore = processCpuMs();
        QElapsedTimer idleClock;
        idleClock.start();
        QTest::qWait(idleMs);
        // A caret that is not drawn costs nothing, and its idle figure would mean nothing.
        std::printf("  idle %s: %.1f%% of one core (%d repaints%s)\n", what,
                    100.0 * (processCpuMs() - cpuBefore) / msSince(idleClock), paints.count(),
                    pane->hasFocus() ? "" : "; the pane had no focus");
    };
    idleFor("with the caret blinking");
    while (!caretBlink.stopped()) {
        QTest::qWait(100);
    }
    idleFor("once the caret stops blinking");
    if (!coloured) {
        auto* highlight = window->findChild<QAction*>("HighlightX");
        clock.restart();
        highlight->trigger();
        std::printf("  switching the colours on: %.0f ms\n", msSince(clock));
    }
    frame->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int keys = 30;
    int only = 0;  // every case
    fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--keys") {
            keys = std::max(1, std::atoi(argv[i + 1]));
        } else if (option == "--case") {
            only = std::atoi(argv[i + 1]);
        } else if (option == "--dir") {
            base = fs::absolute(argv[i + 1]);
        }
    }
    QApplication app(argc, argv);
    const CaretBlinkTimeout caretBlink;  // as in the program
    const fs::path root = base / ("korvex-editor-bench-" + std::to_string(::getpid()));
    for (const char* sub : {"Projects", "Temp", "Exported", "Extra"}) {
        fs::create_directories(root / sub);
    }

    korvex::bench::SilentDialogs dialogs;
    korvex::bench::NoDesktop desktop;
    korvex::engine::Random random(1);
    korvex::ui::RecordWriter writer;
    QMdiArea area;
    area.resize(1280, 800);
    area.show();
    korvex::bench::BenchCommands commands(area);
    korvex::ui::SharedState state(korvex::store::AppFolder(root), dialogs, desktop, random, writer,
                                  commands);

    const Case cases[] = {
        {"2.5 MB in 50,000 lines", faultyBlockScript(), &startOfLines},
        {"1 MB on one line", longLineScript(), &alongTheLine},
    };
    std::printf("korvex-editor-bench: %d keys at each of 3 places a run\n", keys);
    for (int number = 1; const Case& c : cases) {
        if (only != 0 && only != number++) {
            continue;
        }
        for (const bool coloured : {true, false}) {
            if (!runCase(c, coloured, keys, root, state, commands, caretBlink)) {
                return 1;
            }
        }
    }
    fs::remove_all(root);
    return 0;
}
