#pragma once
// The few text helpers every layer needs. Scripts, settings and file names compare in ASCII
// only: a byte above 0x7F is never a letter here, whatever the locale says.

#include <cstddef>
#include <string>
#include <string_view>

namespace korvex::ascii {

/// Leading and trailing spaces removed; tabs and other white space stay, as the script
/// language and the settings file define "trim".
constexpr std::string_view trimSpaces(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

constexpr char toLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string toLower(std::string_view s) {
    std::string lower(s);
    for (char& c : lower) {
        c = toLower(c);
    }
    return lower;
}

constexpr bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (toLower(a[i]) != toLower(b[i])) {
            return false;
        }
    }
    return true;
}

constexpr bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

constexpr bool endsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           equalsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace korvex::ascii
