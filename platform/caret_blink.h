#pragma once
#include <QObject>
#include <chrono>

class QTimer;

namespace korvex::platform {

/// Stops the carets of the program's text fields from blinking once nobody has pressed a key,
/// clicked or turned the wheel for `timeout` (ten seconds, as the GNOME and KDE desktops do),
/// and starts them again at the next key or click. A blinking caret repaints its line twice a
/// second, which on a megabyte line is several per cent of a core for as long as the window is
/// left open. A caret that stops stays shown. Where the desktop's carets do not blink, nothing
/// changes. While it lives it watches every event of the application; at its end the carets
/// blink as they did before it.
class CaretBlinkTimeout : public QObject {
public:
    static constexpr std::chrono::milliseconds kTimeout{10000};

    explicit CaretBlinkTimeout(std::chrono::milliseconds timeout = kTimeout);
    ~CaretBlinkTimeout() override;
    CaretBlinkTimeout(const CaretBlinkTimeout&) = delete;
    CaretBlinkTimeout& operator=(const CaretBlinkTimeout&) = delete;

    /// Whether the carets are stopped now.
    bool stopped() const { return stopped_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stop();
    void wake();

    QTimer* timer_;
    int flashTime_ = 0;  // the desktop's flash time, in milliseconds, while the carets stop
    bool stopped_ = false;
};

}  // namespace korvex::platform
