#pragma once
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/dialogs.h"

namespace korvex::testing {

/// Dialogs for tests. The test prepares the answers in the order the boxes will appear, then
/// acts; each box takes the next prepared answer at once, so nothing waits on a real box.
/// Every box shown is recorded. A box nobody prepared an answer for, or one of another kind
/// than prepared, is a problem: it is logged at once, recorded in problems(), and closed the way
/// a user closing it would (Cancel, No, OK, or Cancel for an input box), so the test goes on and
/// fails on problems() instead of hanging.
class ScriptedDialogs : public platform::Dialogs {
public:
    struct Shown {
        platform::BoxKind kind = platform::BoxKind::Information;
        platform::Buttons buttons = platform::Buttons::Ok;  ///< Ok for input boxes
        QString caption;
        QString text;         ///< the message, or the input box's prompt
        QString defaultText;  ///< input boxes only
        QWidget* parent = nullptr;
        platform::Answer defaultAnswer = platform::Answer::Yes;  ///< what Enter presses
    };

    /// The next box is a message box of `kind` that the user closes with `answer`.
    ScriptedDialogs& expectMessage(platform::BoxKind kind,
                                   platform::Answer answer = platform::Answer::Ok);
    /// The next box is an input box: `answer` is typed and OK pressed; std::nullopt is Cancel.
    ScriptedDialogs& expectInput(const std::optional<QString>& answer);

    /// Called as each box appears, before it is answered: the moment a user would look at it.
    void setOnShown(std::function<void(const Shown&)> onShown) { onShown_ = std::move(onShown); }

    const std::vector<Shown>& shown() const { return shown_; }
    /// Prepared answers no box has taken yet.
    std::size_t pending() const { return prepared_.size(); }
    /// Empty when every box found its prepared answer and every prepared answer was taken;
    /// otherwise one line per fault, ready for QCOMPARE(dialogs.problems(), QString()).
    QString problems() const;

protected:
    platform::Answer showMessage(QWidget* parent, const platform::MessageBox& box) override;
    std::optional<QString> showInput(QWidget* parent, const platform::InputBox& box) override;

private:
    struct Prepared {
        platform::BoxKind kind = platform::BoxKind::Information;
        platform::Answer answer = platform::Answer::Ok;  ///< Cancel or Ok for input boxes
        QString text;                                    ///< what is typed into an input box
    };
    /// Records the box and takes its prepared answer into `next`; false (and the problem
    /// recorded) when there is none for a box of this kind.
    bool take(const Shown& box, Prepared& next);
    void complain(const QString& problem);

    std::deque<Prepared> prepared_;
    std::vector<Shown> shown_;
    QStringList problems_;
    std::function<void(const Shown&)> onShown_;
};

}  // namespace korvex::testing
