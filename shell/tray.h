#pragma once
#include <QObject>
#include <QStringList>

class QMainWindow;
class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace korvex::ui {

struct SharedState;

/// The main window's tray icon and its two popup menus of projects: the tray menu `TrayBarX`
/// of the icon, and the background menu `TrayBar2X` of a right click on the empty background.
/// Both list the projects of `Projects` as read at start, to edit or to generate; their entries
/// act on `Projects`, the folder they list. Minimised, the main window hides in the tray where
/// the desktop has one; elsewhere it stays an ordinary minimised window, so it is never
/// out of reach.
class Tray : public QObject {
    Q_OBJECT
public:
    /// `background` is the widget whose right click opens the background menu (the
    /// multi-document area's viewport); clicks on the windows inside it are theirs.
    Tray(QMainWindow& window, QWidget& background, SharedState& state, const QStringList& projects);
    ~Tray() override;

    QMenu* trayMenu() const { return trayMenu_; }
    QMenu* backgroundMenu() const { return backgroundMenu_; }
    /// The icon once the window has been hidden in the tray; null until then.
    QSystemTrayIcon* icon() const { return icon_; }

    /// The window was minimised: where a tray exists, the icon shows (one icon however often)
    /// and the window hides.
    void windowMinimised();
    /// "Show Korvex": the window back, maximised. The icon stays until the program ends.
    void restoreWindow();
    /// The program ends: the icon goes.
    void removeIcon();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void editProject(const QString& name);
    void generateProject(const QString& name);

    QMainWindow& window_;
    QWidget& background_;
    SharedState& state_;
    QMenu* trayMenu_;
    QMenu* backgroundMenu_;
    QSystemTrayIcon* icon_ = nullptr;
};

}  // namespace korvex::ui
