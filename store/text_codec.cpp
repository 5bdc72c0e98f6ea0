#include "text_codec.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace korvex::store {
namespace {

// windows-1252 0x80..0x9F; the undefined bytes map to the C1 control of the same value.
constexpr std::array<char32_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool hasHighByte(std::string_view bytes) {
    // Eight bytes at a time: most scripts are long runs of ASCII.
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t i = 0;
    for (; i + sizeof(std::uint64_t) <= bytes.size(); i += sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if ((word & kHighBits) != 0) {
            return true;
        }
    }
    for (; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) {
            return true;
        }
    }
    return false;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Reads one code point of valid UTF-8 at `i`, advancing `i`.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
    auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = b(i);
    if (c < 0x80) {
        ++i;
        return c;
    }
    if (c < 0xE0) {
        char32_t cp = ((c & 0x1F) << 6) | (b(i + 1) & 0x3F);
        i += 2;
        return cp;
    }
    if (c < 0xF0) {
        char32_t cp = ((c & 0x0F) << 12) | ((b(i + 1) & 0x3F) << 6) | (b(i + 2) & 0x3F);
        i += 3;
        return cp;
    }
    char32_t cp = ((c & 0x07) << 18) | ((b(i + 1) & 0x3F) << 12) | ((b(i + 2) & 0x3F) << 6) |
                  (b(i + 3) & 0x3F);
    i += 4;
    return cp;
}

// The windows-1252 byte of a code point, or -1.
int windows1252Byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<int>(cp);
    }
    for (std::size_t k = 0; k < kHighTable.size(); ++k) {
        if (kHighTable[k] == cp) {
            return static_cast<int>(0x80 + k);
        }
    }
    return -1;
}

}  // namespace

bool isValidUtf8(std::string_view s) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t len;
        char32_t min;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
            min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            min = 0x10000;
        } else {
            return false;
        }
        if (n - i < len) {
            return false;
        }
        char32_t cp = c & (0xFF >> (len + 1));
        for (std::size_t k = 1; k < len; ++k) {
            auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (t & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += len;
    }
    return true;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0xA0) {
            appendUtf8(out, kHighTable[c - 0x80]);
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

DecodedText decode(std::string&& bytes) {
    DecodedText result;
    std::string_view view = bytes;
    if (view.starts_with(kBom) && isValidUtf8(view.substr(kBom.size()))) {
        result.encoding = Encoding::Utf8;
        result.byteOrderMark = true;
        bytes.erase(0, kBom.size());
        result.text = std::move(bytes);
        return result;
    }
    if (!hasHighByte(view)) {
        result.text = std::move(bytes);  // plain ASCII reads the same either way
        return result;
    }
    if (isValidUtf8(view)) {
        result.encoding = Encoding::Utf8;
        result.text = std::move(bytes);
        return result;
    }
    result.text = windows1252ToUtf8(view);
    return result;
}

DecodedText decode(std::string_view bytes) {
    return decode(std::string(bytes));
}

bool fitsWindows1252(std::string_view utf8) {
    // Bytes that are not UTF-8 are not characters at all: encode() then keeps them as they
    // are, and nextCodePoint() never reads past the end of a cut-off sequence.
    if (!isValidUtf8(utf8)) {
        return false;
    }
    for (std::size_t i = 0; i < utf8.size();) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            ++i;
            continue;
        }
        if (windows1252Byte(nextCodePoint(utf8, i)) < 0) {
            return false;
        }
    }
    return true;
}

std::string encode(std::string_view utf8, Encoding preferred, bool byteOrderMark, Encoding* used) {
    if (preferred == Encoding::Windows1252 && fitsWindows1252(utf8)) {
        std::string out;
        if (!hasHighByte(utf8)) {
            out = utf8;
        } else {
            out.reserve(utf8.size());
            for (std::size_t i = 0; i < utf8.size();) {
                out += static_cast<char>(windows1252Byte(nextCodePoint(utf8, i)));
            }
        }
        // Some windows-1252 byte pairs are valid UTF-8 (C9 92, "É’", is also U+0252) and would
        // reopen as other characters: such a text is saved as UTF-8.
        if (!hasHighByte(out) || !isValidUtf8(out)) {
            if (used) {
                *used = Encoding::Windows1252;
            }
            return out;
        }
    }
    if (used) {
        *used = Encoding::Utf8;
    }
    std::string out;
    // A text that begins with U+FEFF would lose it to the byte-order mark test on reading; a
    // mark in front keeps it.
    if (byteOrderMark || (utf8.starts_with(kBom) && isValidUtf8(utf8))) {
        out = kBom;
    }
    out += utf8;
    return out;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        char c = text[i];
        if (c != '\r' && c != '\n') {
            continue;
        }
        lines.push_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < n) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

}  // namespace korvex::store
