#pragma once
// Every modal question the program asks goes through one Dialogs object, so a test can prepare
// the answers before it acts and no test ever waits on a box nobody will close.

#include <QString>
#include <optional>

class QWidget;

namespace korvex::platform {

/// The kinds of modal box the program shows.
enum class BoxKind { Information, Warning, Question, Input };

/// The buttons a message box offers.
enum class Buttons { Ok, YesNoCancel, YesNo };

/// How the user closed a message box.
enum class Answer { Ok, Yes, No, Cancel };

/// One message box as the program asks for it.
struct MessageBox {
    BoxKind kind = BoxKind::Information;
    Buttons buttons = Buttons::Ok;
    QString caption;
    QString text;  ///< shown as plain text, never interpreted as markup
    /// The button Enter presses (Yes, unless a question guards something hard to undo).
    Answer defaultAnswer = Answer::Yes;
};

/// One input box as the program asks for it.
struct InputBox {
    QString caption;
    QString prompt;       ///< shown as plain text
    QString defaultText;  ///< what the edit field starts with
};

/// The answer a box gets when the user closes it without choosing (Esc or the title bar's
/// close button): Cancel where it is offered, No for Yes/No, OK for a plain message.
Answer escapeAnswer(Buttons buttons);

/// True when `answer` is one of the buttons of `buttons`.
bool offers(Buttons buttons, Answer answer);

QString boxKindName(BoxKind kind);
QString answerName(Answer answer);

/// Modal message and input boxes. `parent` is the window the box belongs to (it may be null).
class Dialogs {
public:
    virtual ~Dialogs() = default;

    /// Information icon and an OK button.
    void information(QWidget* parent, const QString& caption, const QString& text);
    /// Warning (exclamation) icon and an OK button.
    void warning(QWidget* parent, const QString& caption, const QString& text);
    /// Question icon with Yes, No and Cancel (or Yes and No). Closing the box without choosing
    /// gives escapeAnswer(buttons). Enter presses `defaultAnswer`.
    Answer question(QWidget* parent, const QString& caption, const QString& text,
                    Buttons buttons = Buttons::YesNoCancel, Answer defaultAnswer = Answer::Yes);
    /// Input box with a prompt, an edit field starting with `defaultText`, OK and Cancel.
    /// std::nullopt means Cancel; OK on an empty field gives an empty string.
    std::optional<QString> input(QWidget* parent, const QString& caption, const QString& prompt,
                                 const QString& defaultText = {});

protected:
    /// Shows the box and returns one of the answers its buttons offer.
    virtual Answer showMessage(QWidget* parent, const MessageBox& box) = 0;
    virtual std::optional<QString> showInput(QWidget* parent, const InputBox& box) = 0;
};

}  // namespace korvex::platform
