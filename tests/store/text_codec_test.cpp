#include "store/text_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvex::store {
namespace {

TEST(TextCodec, EveryWindows1252ByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        DecodedText decoded = decode(one);
        EXPECT_EQ(decoded.encoding, Encoding::Windows1252) << "byte " << b;
        Encoding used = Encoding::Utf8;
        EXPECT_EQ(encode(decoded.text, decoded.encoding, false, &used), one) << "byte " << b;
        EXPECT_EQ(used, Encoding::Windows1252) << "byte " << b;
        all += one;
    }
    DecodedText decoded = decode(all);
    ASSERT_EQ(decoded.encoding, Encoding::Windows1252);
    EXPECT_EQ(encode(decoded.text), all);
}

TEST(TextCodec, EveryPairOfWindows1252CharactersReopensAsSaved) {
    int savedAsUtf8 = 0;
    for (int a = 0x80; a <= 0xFF; ++a) {
        for (int b = 0x80; b <= 0xFF; ++b) {
            const char pair[] = {static_cast<char>(a), static_cast<char>(b)};
            const std::string text = "CAF" + windows1252ToUtf8({pair, 2}) + "S";
            Encoding used = Encoding::Windows1252;
            const std::string bytes = encode(text, Encoding::Windows1252, false, &used);
            ASSERT_EQ(decode(bytes).text, text) << std::hex << a << ' ' << b;
            savedAsUtf8 += used == Encoding::Utf8 ? 1 : 0;
        }
    }
    // Only a lead byte C2..DF followed by a continuation byte 80..BF reads as UTF-8, so every
    // other pair keeps the single-byte code page.
    EXPECT_EQ(savedAsUtf8, 30 * 64);
}

TEST(TextCodec, FindsAHighByteAtEveryPlace) {
    for (std::size_t length = 1; length <= 33; ++length) {
        for (std::size_t at = 0; at < length; ++at) {
            std::string bytes(length, 'a');
            bytes[at] = '\xE9';
            DecodedText decoded = decode(bytes);
            EXPECT_EQ(decoded.encoding, Encoding::Windows1252) << length << ' ' << at;
            EXPECT_EQ(decoded.text.size(), length + 1) << length << ' ' << at;
            EXPECT_EQ(decoded.text.substr(at, 2), "\xC3\xA9") << length << ' ' << at;
        }
        EXPECT_EQ(decode(std::string(length, 'a')).text, std::string(length, 'a'));
    }
}

TEST(TextCodec, Windows1252BytesBecomeTheirCharacters) {
    struct Case {
        std::string byte;
        std::string utf8;
    };
    const std::vector<Case> cases = {
        {"\x80", "\u20AC"},   {"\x8A", "\u0160"}, {"\x9F", "\u0178"}, {"\x81", "\xC2\x81"},
        {"\x9D", "\xC2\x9D"}, {"\xA0", "\u00A0"}, {"\xE9", "\u00E9"}, {"\xFF", "\u00FF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(windows1252ToUtf8(c.byte), c.utf8);
        EXPECT_EQ(decode(c.byte).text, c.utf8);
    }
}

TEST(TextCodec, Utf8IsReadAsUtf8AndKeptOnWriting) {
    const std::string bytes = "caf\xC3\xA9 \xE2\x82\xAC";
    DecodedText decoded = decode(bytes);
    EXPECT_EQ(decoded.encoding, Encoding::Utf8);
    EXPECT_FALSE(decoded.byteOrderMark);
    EXPECT_EQ(decoded.text, bytes);
    // It would fit windows-1252, but a file keeps the encoding it was read with.
    EXPECT_EQ(encode(decoded.text, decoded.encoding, decoded.byteOrderMark), bytes);
    EXPECT_EQ(encode(decoded.text, Encoding::Windows1252), "caf\xE9 \x80");
}

TEST(TextCodec, ByteOrderMarkIsReadAndWrittenBack) {
    for (const std::string body : {"abc", "caf\xC3\xA9", ""}) {
        const std::string bytes = "\xEF\xBB\xBF" + body;
        DecodedText decoded = decode(bytes);
        EXPECT_EQ(decoded.encoding, Encoding::Utf8);
        EXPECT_TRUE(decoded.byteOrderMark);
        EXPECT_EQ(decoded.text, body);
        EXPECT_EQ(encode(decoded.text, decoded.encoding, decoded.byteOrderMark), bytes);
    }
    // A text that itself begins with U+FEFF keeps it, with or without a mark asked for.
    const std::string text =
        "\xEF\xBB\xBF"
        "abc";
    for (Encoding preferred : {Encoding::Windows1252, Encoding::Utf8}) {
        for (bool mark : {false, true}) {
            EXPECT_EQ(decode(encode(text, preferred, mark)).text, text) << mark;
        }
    }
}

TEST(TextCodec, InvalidUtf8IsReadAsWindows1252) {
    const std::vector<std::string> cases = {
        "caf\xE9",           // a lone windows-1252 letter
        "\xC0\x80",          // overlong form
        "\xED\xA0\x80",      // surrogate
        "\xF4\x90\x80\x80",  // beyond U+10FFFF
        "\xF5\x80\x80\x80",  // no such lead byte
        "ab\xC3",            // cut off
        "\xC3\xA9\x80",      // stray continuation byte after a valid character
        "\xEF\xBB\xBF\xE9",  // a byte-order mark before windows-1252 text
    };
    for (const std::string& bytes : cases) {
        EXPECT_FALSE(isValidUtf8(bytes));
        DecodedText decoded = decode(bytes);
        EXPECT_EQ(decoded.encoding, Encoding::Windows1252);
        EXPECT_EQ(decoded.text, windows1252ToUtf8(bytes));
        EXPECT_EQ(encode(decoded.text, decoded.encoding), bytes);
    }
}

TEST(TextCodec, TextWindows1252CannotHoldIsWrittenAsUtf8) {
    const std::vector<std::string> cases = {
        "\xCE\xA9mega",            // Greek capital omega
        "smile \xF0\x9F\x98\x80",  // outside the basic plane
        "\xC2\x80",                // U+0080: byte 0x80 is the euro sign
        "caf\xC3\xA9 \xCE\xA9",    // one character that fits and one that does not
    };
    for (const std::string& text : cases) {
        Encoding used = Encoding::Windows1252;
        EXPECT_FALSE(fitsWindows1252(text));
        EXPECT_EQ(encode(text, Encoding::Windows1252, false, &used), text);
        EXPECT_EQ(used, Encoding::Utf8);
        EXPECT_EQ(encode(text, Encoding::Windows1252, true), "\xEF\xBB\xBF" + text);
        EXPECT_EQ(decode(encode(text)).text, text);
    }
}

TEST(TextCodec, BytesThatAreNotUtf8AreWrittenUnchanged) {
    for (const std::string bytes : {"ab\xC3", "\xE2\x82", "\xE9t\xE9"}) {
        Encoding used = Encoding::Windows1252;
        EXPECT_FALSE(fitsWindows1252(bytes));
        EXPECT_EQ(encode(bytes, Encoding::Windows1252, false, &used), bytes);
        EXPECT_EQ(used, Encoding::Utf8);
    }
}

TEST(TextCodec, SplitLinesAcceptsEveryLineEnd) {
    struct Case {
        std::string text;
        std::vector<std::string_view> lines;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(splitLines(c.text), c.lines) << ::testing::PrintToString(c.text);
    }
}

}  // namespace
}  // namespace korvex::store
