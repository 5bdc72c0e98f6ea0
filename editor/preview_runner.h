#pragma once
// The editor's live preview generates from the script as it stands in the pane, saved or not,
// and a script may be megabytes long: the generation runs on a thread of its own, so typing
// never waits for it.

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/latest_job_thread.h"

namespace korvex::editor {

/// Where a preview generates from: the pane's text stands for the project file; jumps and
/// includes are read from the application folder as a generation reads them.
struct PreviewSource {
    std::filesystem::path appFolder;
    std::string projectPath;  ///< "Projects\Letter"
    std::string dateText;     ///< what `\date\` and `\time\` give
    std::string timeText;
};

/// What a preview shows: one or more texts, ready for the text box, and what the pane says
/// about them.
struct Preview {
    QString text;               ///< the texts, one after another, as ui::toBoxText gives them
    std::string variants;       ///< the exact variant count, decimal
    std::string variantsAbout;  ///< the same in scientific notation ("1.23e+30102")
    int questions = 0;          ///< `\inp\` lines answered with an empty answer
    int messages = 0;           ///< `\msg\` lines not shown
    QString jumpedTo;           ///< the target of the last jump, empty without one
    QStringList warnings;
    bool shortened = false;  ///< a text was longer than the pane shows
};

/// Runs previews one at a time on a thread of its own. Only the newest text matters: a preview
/// asked for while one runs waits, replacing any preview still waiting, and only the last one
/// asked for is delivered (on the thread that asked, as a signal). Nothing is written to disk:
/// a preview takes no working files.
class PreviewRunner : public QObject {
    Q_OBJECT
public:
    /// A text longer than this many characters is shown up to the line break before.
    static constexpr int kMostCharacters = 50000;

    explicit PreviewRunner(QObject* parent = nullptr);
    ~PreviewRunner() override = default;
    PreviewRunner(const PreviewRunner&) = delete;
    PreviewRunner& operator=(const PreviewRunner&) = delete;

    /// Generates `count` texts from `boxText` (a pane's text as QTextDocument::toRawText gives
    /// it), the first with `seed` and each next with the seed after, as soon as the thread is
    /// free.
    void generate(QString boxText, PreviewSource source, std::uint64_t seed, int count);
    /// True while a preview runs or waits.
    bool isBusy() const;

signals:
    /// The preview asked for last.
    void generated(const korvex::editor::Preview& preview);

private:
    struct Job {
        quint64 ticket = 0;
        QString text;
        PreviewSource source;
        std::uint64_t seed = 0;
        int count = 1;
    };

    void run(Job& job);
    void deliver(quint64 ticket, const Preview& preview);

    quint64 lastTicket_ = 0;                 // the asking thread's own: no lock
    platform::LatestJobThread<Job> thread_;  // last: it starts once everything above exists
};

}  // namespace korvex::editor

Q_DECLARE_METATYPE(korvex::editor::Preview)
