#pragma once
#include <QDateTime>
#include <QPointer>
#include <QWidget>
#include <functional>

class QLineEdit;
class QListWidget;
class QMdiSubWindow;
class QPushButton;

namespace korvex::ui {

struct SharedState;

/// The New Project dialog: asks for a name, creates the project in `Projects` and
/// opens it. It lives in the main window's multi-document area at its top-left corner, at a
/// fixed size, and counts as no open window. Enter creates, Esc closes.
class NewProjectDialog : public QWidget {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;

    /// Loads the dialog: the current project folder becomes `Projects`, and the list shows
    /// the projects there.
    explicit NewProjectDialog(SharedState& state, QWidget* parent = nullptr);

    /// Opened from the Projects Manager (`nProject`): a created project returns to a
    /// Projects Manager instead of opening an editor.
    void setFromProjectsManager(bool fromManager) { fromManager_ = fromManager; }
    /// The date and time written into a new project's first comment.
    void setClock(Clock clock) { clock_ = std::move(clock); }

    /// "&Create": creates the typed project and, when it was written, opens it and closes.
    void create();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The sub-window holding the dialog (null outside a multi-document area).
    QMdiSubWindow* subWindow() const;
    /// Fixed size at the top-left corner, never maximised.
    void settle();
    void closeWindow();

    SharedState& state_;
    QLineEdit* nameField_;
    QListWidget* projectList_;
    QPushButton* createButton_;
    QPushButton* cancelButton_;
    QPointer<QMdiSubWindow> settledIn_;
    bool fromManager_ = false;
    Clock clock_ = [] { return QDateTime::currentDateTime(); };
};

}  // namespace korvex::ui
