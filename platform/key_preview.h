#pragma once
#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace korvex::platform {

/// Key preview: the window sees every key press meant for one of its controls before the
/// control does. `handler` (optional) sees each press first and returns true when it took
/// the key; an Esc it leaves closes the window, or the MDI sub-window that holds it. Lives as
/// a child of the window, so it ends with it.
class KeyPreview : public QObject {
public:
    using Handler = std::function<bool(QKeyEvent&)>;

    explicit KeyPreview(QWidget* window, Handler handler = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool belongsToWindow(QObject* watched) const;

    QWidget* window_;
    Handler handler_;
};

/// Gives `window` key preview; see KeyPreview.
KeyPreview* installKeyPreview(QWidget* window, KeyPreview::Handler handler = {});

}  // namespace korvex::platform
