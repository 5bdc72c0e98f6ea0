#include "cli/command_line.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <istream>
#include <iterator>
#include <ostream>

#include "store/text_codec.h"

namespace korvex::cli {
namespace {

std::string now(const char* format) {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char buffer[128];
    const auto size = std::strftime(buffer, sizeof buffer, format, &local);
    return store::decode(std::string(buffer, size)).text;
}

}  // namespace

void TextOutput::write(std::string_view text) {
    errno = 0;
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
    check();
}

void TextOutput::put(char c) {
    errno = 0;
    out_.put(c);
    check();
}

void TextOutput::flush() {
    errno = 0;
    out_.flush();
    check();
}

void TextOutput::check() {
    if (!out_ && !failed_) {
        failed_ = true;
        reason_ = errno != 0 ? std::strerror(errno) : "the output stream failed";
    }
}

void CommandLineHost::showMessage(std::string_view text) {
    out_.flush();
    err_ << text << '\n' << std::flush;
}

std::optional<std::string> CommandLineHost::askInput(std::string_view prompt) {
    if (!answers_.empty()) {
        std::string answer = std::move(answers_.front());
        answers_.pop_front();
        return store::decode(std::move(answer)).text;
    }
    out_.flush();
    err_ << prompt << (prompt.empty() || prompt.back() == ' ' ? "" : " ") << std::flush;
    std::string line;
    if (!std::getline(in_, line)) {
        err_ << '\n';
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return store::decode(std::move(line)).text;
}

std::string CommandLineHost::dateText() {
    return now("%x");
}

std::string CommandLineHost::timeText() {
    return now("%X");
}

std::optional<ScriptCopy> ScriptCopy::make(std::istream& in, std::string& reason) {
    errno = 0;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad() || (text.empty() && errno != 0)) {
        reason = errno != 0 ? std::strerror(errno) : "the input stream failed";
        return std::nullopt;
    }
    std::error_code error;
    std::string name = (std::filesystem::temp_directory_path(error) / "korvex-gen-XXXXXX").string();
    const int fd = error ? -1 : ::mkstemp(name.data());
    if (fd < 0) {
        reason = error ? error.message() : std::strerror(errno);
        return std::nullopt;
    }
    ScriptCopy copy{std::filesystem::path(name)};
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            reason = "cannot copy it to \"" + name + "\": " + std::strerror(errno);
            ::close(fd);
            return std::nullopt;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) {
        reason = "cannot copy it to \"" + name + "\": " + std::strerror(errno);
        return std::nullopt;
    }
    return copy;
}

ScriptCopy::~ScriptCopy() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
}

}  // namespace korvex::cli
