#include "output/window_thread_host.h"

#include <QThread>

namespace korvex::ui {

WindowThreadHost::WindowThreadHost(QObject& context, engine::Host& host)
    : context_(context), host_(host) {}

WindowThreadHost::~WindowThreadHost() {
    stop();
}

void WindowThreadHost::stop() {
    {
        const std::lock_guard lock(channel_->mutex);
        channel_->stopped = true;
    }
    channel_->changed.notify_all();
}

bool WindowThreadHost::isAsking() const {
    const std::lock_guard lock(channel_->mutex);
    return channel_->asking;
}

template <typename T, typename Work>
std::optional<T> WindowThreadHost::call(Work work) {
    // On the window's own thread there is nothing to carry over (and waiting would block it).
    if (QThread::currentThread() == context_.thread()) {
        return work();
    }
    auto answer = std::make_shared<std::optional<T>>();
    const std::shared_ptr<Channel> channel = channel_;
    {
        const std::lock_guard lock(channel->mutex);
        if (channel->stopped) {
            return std::nullopt;
        }
    }
    // A call still queued when `context` goes is dropped with it.
    QMetaObject::invokeMethod(
        &context_,
        [channel, answer, work] {
            {
                const std::lock_guard lock(channel->mutex);
                if (channel->stopped) {
                    return;
                }
                channel->asking = true;
            }
            T value = work();
            {
                const std::lock_guard lock(channel->mutex);
                channel->asking = false;
                *answer = std::move(value);
            }
            channel->changed.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(channel->mutex);
    channel->changed.wait(lock, [&] { return channel->stopped || answer->has_value(); });
    return *answer;
}

void WindowThreadHost::showMessage(std::string_view text) {
    call<bool>([this, text = std::string(text)] {
        host_.showMessage(text);
        return true;
    });
}

std::optional<std::string> WindowThreadHost::askInput(std::string_view prompt) {
    return call<std::optional<std::string>>(
               [this, prompt = std::string(prompt)] { return host_.askInput(prompt); })
        .value_or(std::nullopt);
}

std::string WindowThreadHost::dateText() {
    return call<std::string>([this] { return host_.dateText(); }).value_or(std::string());
}

std::string WindowThreadHost::timeText() {
    return call<std::string>([this] { return host_.timeText(); }).value_or(std::string());
}

}  // namespace korvex::ui
