#pragma once
// What every korvex-gen mode shares: the output of texts, which keeps the reason of a failed
// write, and the host that answers the engine from the command line.

#include <deque>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "engine/host.h"

namespace korvex::cli {

/// The texts on standard output, gathered into large writes. Anything written to standard
/// error first flushes what waits, so on a terminal the two still appear in order. A write that
/// fails is kept with the system's reason: a lost text must never end in success.
class TextOutput {
public:
    explicit TextOutput(std::ostream& out) : out_(out) {}

    void write(std::string_view text);
    void put(char c);
    void flush();
    bool failed() const { return failed_; }
    const std::string& reason() const { return reason_; }

private:
    void check();

    std::ostream& out_;
    bool failed_ = false;
    std::string reason_;
};

/// Answers come from the --answer options first, then from standard input; the end of the
/// input answers as Cancel. Messages and prompts go to standard error.
class CommandLineHost : public engine::Host {
public:
    CommandLineHost(std::deque<std::string> answers, std::istream& in, TextOutput& out,
                    std::ostream& err)
        : answers_(std::move(answers)), in_(in), out_(out), err_(err) {}

    void showMessage(std::string_view text) override;
    std::optional<std::string> askInput(std::string_view prompt) override;
    std::string dateText() override;
    std::string timeText() override;

private:
    std::deque<std::string> answers_;
    std::istream& in_;
    TextOutput& out_;
    std::ostream& err_;
};

/// A script that can be read only once (standard input, a pipe), copied to a temporary file
/// that lasts as long as this object: the engine reads the script again for every text.
class ScriptCopy {
public:
    /// Copies what is left of `in`; nothing, and the system's reason in `reason`, when `in`
    /// cannot be read or the copy cannot be written.
    static std::optional<ScriptCopy> make(std::istream& in, std::string& reason);

    ScriptCopy(ScriptCopy&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
    ScriptCopy& operator=(ScriptCopy&& other) noexcept {
        std::swap(path_, other.path_);
        return *this;
    }
    ScriptCopy(const ScriptCopy&) = delete;
    ScriptCopy& operator=(const ScriptCopy&) = delete;
    ~ScriptCopy();

    const std::filesystem::path& path() const { return path_; }

private:
    explicit ScriptCopy(std::filesystem::path path) : path_(std::move(path)) {}
    std::filesystem::path path_;
};

}  // namespace korvex::cli
