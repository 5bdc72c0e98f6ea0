#pragma once
// What an operation that changes the disk reports back: nothing on success, otherwise one
// message that names the file and the system's reason, ready to show the user as it is.

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace korvex::store {

class Outcome {
public:
    /// Success: no message.
    static Outcome success() { return Outcome(); }
    /// Failure with a message fit to show the user.
    static Outcome failure(std::string message) { return Outcome(std::move(message)); }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    /// Empty on success.
    const std::string& message() const { return message_; }

private:
    Outcome() = default;
    explicit Outcome(std::string message) : failed_(true), message_(std::move(message)) {}

    bool failed_ = false;
    std::string message_;
};

/// The system's reason for `error`, as the messages quote it ("No such file or directory").
std::string reasonText(const std::error_code& error);

/// The one wording of a file operation that failed, whatever the layer:
/// Could not <verb> "<file>": <reason>.
std::string failureText(std::string_view verb, const std::filesystem::path& file,
                        std::string_view reason);

/// The same for an operation from one file to another (a rename, a copy):
/// Could not <verb> "<from>" to "<to>": <reason>.
std::string failureText(std::string_view verb, const std::filesystem::path& from,
                        const std::filesystem::path& to, std::string_view reason);

}  // namespace korvex::store
