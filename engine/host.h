#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace korvex::engine {

/// The outside world as the engine sees it.
class Host {
public:
    virtual ~Host() = default;
    /// A `\msg\` line: show the text and wait for OK.
    virtual void showMessage(std::string_view text) = 0;
    /// An `\inp\` line: ask and wait; std::nullopt means Cancel.
    virtual std::optional<std::string> askInput(std::string_view prompt) = 0;
    /// The user's short date and time, for `\date\` and `\time\`.
    virtual std::string dateText() = 0;
    virtual std::string timeText() = 0;
    /// A jump was taken: `newPath` is the project path now in force, `target` the caption.
    virtual void jumped(std::string_view newPath, std::string_view target) {
        (void)newPath;
        (void)target;
    }
};

}  // namespace korvex::engine
