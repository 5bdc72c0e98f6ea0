#pragma once
// The texts of a batch are made on a worker thread, but boxes can only be shown on the
// window's thread: this host carries each call of the engine over to the window's thread and
// waits there for its answer.

#include <QObject>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "engine/host.h"

namespace korvex::ui {

/// Forwards the engine's questions, messages, date and time from any thread to `host` on the
/// thread of `context`, and waits for them. After stop() nothing more is asked: a question
/// waiting answers as Cancel, so a worker that waits is never left hanging.
class WindowThreadHost : public engine::Host {
public:
    /// `host` is used on the thread of `context` only; both outlive this object.
    WindowThreadHost(QObject& context, engine::Host& host);
    ~WindowThreadHost() override;
    WindowThreadHost(const WindowThreadHost&) = delete;
    WindowThreadHost& operator=(const WindowThreadHost&) = delete;

    /// Ends every wait, and no call reaches `host` from now on. Any thread.
    void stop();
    /// A call is with `host` now (a box is up).
    bool isAsking() const;

    void showMessage(std::string_view text) override;
    std::optional<std::string> askInput(std::string_view prompt) override;
    std::string dateText() override;
    std::string timeText() override;

private:
    struct Channel {
        std::mutex mutex;
        std::condition_variable changed;
        bool stopped = false;
        bool asking = false;
    };

    template <typename T, typename Work>
    std::optional<T> call(Work work);

    QObject& context_;
    engine::Host& host_;
    // Shared with the calls queued on the window's thread, which may outlive a wait.
    std::shared_ptr<Channel> channel_ = std::make_shared<Channel>();
};

}  // namespace korvex::ui
