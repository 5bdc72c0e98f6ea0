#pragma once
#include <QByteArray>
#include <QFrame>
#include <QString>

class QFileSystemWatcher;
class QLabel;
class QTimer;

namespace korvex::editor {

/// Watches the project file for writes by anyone else (another editor window, the external
/// editor): a change the window did not make itself shows a bar over the script offering to
/// reload the file, and saying what reloading would lose.
class FileWatch : public QFrame {
    Q_OBJECT
public:
    /// A moment for a writer that writes in steps to finish before the file is looked at.
    static constexpr int kSettleMs = 200;

    explicit FileWatch(QWidget* window);

    /// Watches `file` from now on, as it stands now: the window has just read or written it.
    void remember(const QString& file);
    /// Whether the bar waits for the user's answer.
    bool isAsking() const { return !isHidden(); }
    /// Says whether reloading would lose unsaved changes.
    void setModified(bool modified);

signals:
    /// The user asked for the file as it is on disk.
    void reloadWanted();
    /// The bar was shown or hidden.
    void shownChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The file's content in short: a write within the same moment and of the same size as
    // the one before still shows.
    using Stamp = QByteArray;
    static Stamp stampOf(const QString& file);
    void look();
    void tell();

    QFileSystemWatcher* watcher_;
    QTimer* settle_;
    QLabel* text_;
    QString file_;
    Stamp known_;
    bool modified_ = false;
};

}  // namespace korvex::editor
