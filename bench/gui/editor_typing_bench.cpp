// Times typing in the editor on a 2.5 MB script: a key pressed in the pane to the pane
// repainted (the key's edit, the line coloured again, the repaint), at the start, the middle
// and the end of the script; with no check running, and while the checker works on the
// script on its thread. Also the editor's load, switching the colours on, and the moments the
// check takes the GUI thread (taking the text, showing the findings). Runs offscreen.
//
//   korvex-editor-bench [--keys N] [--dir FOLDER]

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
#include "engine/random.h"
#include "gui/bench_program.h"
#include "widgets/record_writer.h"
#include "workload.h"

namespace editorControls = korvex::editor::editorControls;

namespace {

namespace fs = std::filesystem;
using korvex::bench::percentile;
using korvex::editor::CheckRunner;
using korvex::editor::EditorWindow;

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

double msSince(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

struct Figures {
    std::vector<double> keys;
    std::vector<double> checkStarts;  // the GUI thread taking the text for a check
    std::vector<double> shows;        // the GUI thread showing a check's findings
    int overlapped = 0;               // keys timed while the check was still running
};

class Typist {
public:
    explicit Typist(EditorWindow& window)
        : pane_(window.findChild<QPlainTextEdit*>(editorControls::unwrappedPane)),
          delay_(window.findChild<QTimer*>("checkTimer")),
          runner_(window.findChild<CheckRunner*>()) {}

    /// Waits for the check that runs, and shows its findings; returns the GUI thread's share.
    double settle() {
        delay_->stop();
        while (runner_->isBusy()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        QElapsedTimer clock;
        clock.start();
        QCoreApplication::processEvents();
        return msSince(clock);
    }

    /// One key at line `line`, timed to the repaint; with `checking`, a check of the whole
    /// script starts just before.
    void press(int line, bool checking, Figures& figures) {
        QTextCursor caret(pane_->document()->findBlockByNumber(line));
        caret.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 5);
        pane_->setTextCursor(caret);
        if (checking) {
            delay_->start(0);
            QElapsedTimer start;
            start.start();
            while (!runner_->isBusy()) {
                QCoreApplication::processEvents();
            }
            figures.checkStarts.push_back(msSince(start));
        }
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(pane_, 'x');
        pane_->viewport()->repaint();
        figures.keys.push_back(msSince(clock));
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

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int keys = 30;
    fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--keys") {
            keys = std::max(1, std::atoi(argv[i + 1]));
        } else if (option == "--dir") {
            base = fs::absolute(argv[i + 1]);
        }
    }
    QApplication app(argc, argv);
    const fs::path root = base / ("korvex-editor-bench-" + std::to_string(::getpid()));
    for (const char* sub : {"Projects", "Temp", "Exported", "Extra"}) {
        fs::create_directories(root / sub);
    }
    const std::string script = faultyBlockScript();
    std::ofstream(root / "Projects" / "Big.ini", std::ios::binary) << script;

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

    std::printf("korvex-editor-bench: %.1f MB script, %d keys at each of 3 places a run\n",
                static_cast<double>(script.size()) / 1e6, keys);
    for (const bool coloured : {true, false}) {
        std::ofstream(root / "Extra" / "Highlight.ini", std::ios::binary)
            << (coloured ? "1\r\n" : "0\r\n");
        auto* window = new EditorWindow(state);
        window->setWindowTitle("Big");
        QMdiSubWindow* frame = commands.addChild(window);
        frame->resize(1000, 700);
        QSignalSpy loaded(window, &EditorWindow::loaded);
        QElapsedTimer clock;
        clock.start();
        if (!loaded.wait(60000)) {
            std::fprintf(stderr, "The editor did not load the script.\n");
            return 1;
        }
        const double loadMs = msSince(clock) - 100;  // the load timer's own delay
        auto* list = window->findChild<QTreeWidget*>("Diagnostics");
        while (list->isHidden()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
        std::printf("\nColours %s: load %.0f ms, first check shown after %.0f ms, %d findings\n",
                    coloured ? "on" : "off", loadMs, msSince(clock) - 100 - loadMs,
                    list->topLevelItemCount());

        Typist typist(*window);
        typist.settle();
        const int last =
            window->findChild<QPlainTextEdit*>(editorControls::unwrappedPane)->blockCount() - 1;
        Figures idle;
        Figures checking;
        for (const int line : {0, last / 2, last}) {
            for (int k = 0; k < keys; ++k) {
                typist.press(line, false, idle);
                typist.press(line, true, checking);
            }
        }
        report("key to repaint, no check running", idle.keys);
        report("key to repaint, check running", checking.keys);
        std::printf("  (%d of %zu keys were timed wholly while the check ran)\n",
                    checking.overlapped, checking.keys.size());
        report("check taking the text (GUI thread)", checking.checkStarts);
        report("findings shown (GUI thread)", checking.shows);
        if (!coloured) {
            auto* highlight = window->findChild<QAction*>("HighlightX");
            clock.restart();
            highlight->trigger();
            std::printf("  switching the colours on: %.0f ms\n", msSince(clock));
        }
        frame->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    fs::remove_all(root);
    return 0;
}
