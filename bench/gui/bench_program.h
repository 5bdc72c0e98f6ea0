#pragma once
// What the window benchmarks share: services that show nothing and do nothing, child windows
// in a multi-document area as in the program, and the median of the runs.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <optional>
#include <vector>

#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "widgets/shared_state.h"

namespace korvex::bench {

/// Boxes nobody sees: the workloads ask nothing, and a box would stop the clock.
class SilentDialogs : public platform::Dialogs {
protected:
    platform::Answer showMessage(QWidget*, const platform::MessageBox&) override {
        return platform::Answer::Ok;
    }
    std::optional<QString> showInput(QWidget*, const platform::InputBox&) override {
        return std::nullopt;
    }
};

class NoDesktop : public platform::Desktop {
public:
    bool openDocument(const QString&) override { return false; }
    bool openFolder(const QString&) override { return false; }
    bool startProgram(const QString&, const QStringList&) override { return false; }
};

/// Children go into a multi-document area, as in the program; nothing else is needed.
class BenchCommands : public ui::MainCommands {
public:
    explicit BenchCommands(QMdiArea& area) : area_(area) {}
    void newProject() override {}
    void openProjects(const QString&) override {}
    void lastProject() override {}
    void quit() override {}
    void cascade() override {}
    void tileHorizontally() override {}
    void tileVertically() override {}
    void closeAll(bool) override {}
    void help() override {}
    void about() override {}
    QMdiSubWindow* addChild(QWidget* window) override {
        QMdiSubWindow* frame = area_.addSubWindow(window);
        frame->show();
        return frame;
    }
    void openOutput(const QString&, const QString&, QWidget*) override {}
    void openEditor(const QString&) override {}
    void createRuntime(const QString&, const QString&) override {}
    void openImport() override {}

private:
    QMdiArea& area_;
};

/// The value at the given share of the sorted values: 0.5 the median, 0.9 the 90th percentile.
inline double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1));
    return values[at];
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace korvex::bench
