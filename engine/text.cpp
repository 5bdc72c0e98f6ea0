#include "engine/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace korvex::engine {

std::optional<int> wholeNumber(std::string_view s) {
    const auto rounded = roundedNumber(s);
    if (!rounded || !(*rounded >= -32768.0 && *rounded <= 32767.0)) {
        return std::nullopt;
    }
    return static_cast<int>(*rounded);
}

std::optional<double> roundedNumber(std::string_view s) {
    s = trimSpaces(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    // Check the shape ourselves: from_chars would also take "inf", "nan" and hex forms.
    // `magnitude` is the power of ten of the leading non-zero digit, to tell an overflow from
    // an underflow when the value is out of the double range.
    std::size_t i = 0;
    std::size_t digits = 0;
    long long magnitude = 0;
    bool nonZeroSeen = false;
    auto isDigit = [&](std::size_t k) { return k < s.size() && s[k] >= '0' && s[k] <= '9'; };
    for (; isDigit(i); ++i, ++digits) {
        nonZeroSeen = nonZeroSeen || s[i] != '0';
        magnitude += nonZeroSeen ? 1 : 0;
    }
    if (i < s.size() && s[i] == '.') {
        for (++i; isDigit(i); ++i, ++digits) {
            if (!nonZeroSeen) {
                nonZeroSeen = s[i] != '0';
                magnitude -= nonZeroSeen ? 0 : 1;
            }
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t k = i + 1;
        const bool negativeExponent = k < s.size() && s[k] == '-';
        if (k < s.size() && (s[k] == '+' || s[k] == '-')) {
            ++k;
        }
        if (!isDigit(k)) {
            return std::nullopt;
        }
        long long exponent = 0;
        for (; isDigit(k); ++k) {
            exponent = std::min(exponent * 10 + (s[k] - '0'), 1'000'000'000'000LL);
        }
        magnitude += negativeExponent ? -exponent : exponent;
        i = k;
    }
    if (i != s.size()) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (end != s.data() + s.size()) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        // Too large for a double: a number all the same, beyond every range; too small: 0.
        value = magnitude > 0 ? HUGE_VAL : 0;
    } else if (error != std::errc{}) {
        return std::nullopt;
    }
    return std::nearbyint(negative ? -value : value);  // halves to even
}

std::vector<std::string_view> splitAt(std::string_view s, char separator) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (;;) {
        const auto at = s.find(separator, start);
        if (at == std::string_view::npos) {
            pieces.push_back(s.substr(start));
            return pieces;
        }
        pieces.push_back(s.substr(start, at - start));
        start = at + 1;
    }
}

namespace {

// The first occurrence of `pattern` in [from, end), or `end`. Patterns here are short and
// texts dense with backslashes and brackets; a first-character scan with memchr beats the
// general-purpose search on them.
const char* findIn(const char* from, const char* end, std::string_view pattern) {
    const char first = pattern.front();
    const std::size_t rest = pattern.size() - 1;
    while (static_cast<std::size_t>(end - from) > rest) {
        const auto* hit = static_cast<const char*>(
            std::memchr(from, first, static_cast<std::size_t>(end - from) - rest));
        if (!hit) {
            return end;
        }
        if (std::memcmp(hit + 1, pattern.data() + 1, rest) == 0) {
            return hit;
        }
        from = hit + 1;
    }
    return end;
}

}  // namespace

bool contains(std::string_view text, std::string_view pattern) {
    return !pattern.empty() &&
           findIn(text.data(), text.data() + text.size(), pattern) != text.data() + text.size();
}

Replaced replaceAll(std::string& text, std::string_view pattern, std::string_view replacement,
                    std::size_t maxBytes) {
    if (pattern.empty()) {
        return Replaced::None;
    }
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* const first = findIn(begin, end, pattern);
    if (first == end) {
        return Replaced::None;
    }
    // Count them first, so a text that would grow too long is left untouched without keeping
    // every place found (a text of many short matches would need several times its size).
    std::size_t count = 0;
    for (const char* at = first; at != end; at = findIn(at + pattern.size(), end, pattern)) {
        ++count;
    }
    if (replacement.size() > pattern.size()) {
        const std::size_t growth = replacement.size() - pattern.size();
        if (count > (maxBytes - std::min(maxBytes, text.size())) / growth) {
            return Replaced::TooLong;
        }
    }
    std::string out;
    out.reserve(text.size() - count * pattern.size() + count * replacement.size());
    const char* from = begin;
    for (const char* at = first; at != end; at = findIn(from, end, pattern)) {
        out.append(from, static_cast<std::size_t>(at - from));
        out.append(replacement);
        from = at + pattern.size();
    }
    out.append(from, static_cast<std::size_t>(end - from));
    text = std::move(out);
    return Replaced::Some;
}

}  // namespace korvex::engine
