// The other shipped text files: their encoding and line ends, the settings file (which must
// give exactly the design values), and the help page (self-contained, covering the language).

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "shipped_files.h"
#include "store/settings.h"

namespace korvex::testing {
namespace {

/// Every shipped text file, relative to the application folder.
std::vector<std::string> shippedTextFiles() {
    std::vector<std::string> files = {"Extra/Help.html", "Extra/Quotes.txt", "Extra/Setting.ini"};
    for (const auto& name : shippedExampleNames()) {
        files.push_back("Examples/" + name + ".ini");
    }
    return files;
}

class ShippedTextFile : public ::testing::TestWithParam<std::string> {};

// The program's files are windows-1252 text with CR LF line ends; a stray LF or a byte that
// code page lacks would show as garbage in the editor.
TEST_P(ShippedTextFile, IsWindows1252WithCrLfLineEnds) {
    const std::string bytes = readBytes(appSourceFolder() / GetParam());
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(bytes.ends_with("\r\n"));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        SCOPED_TRACE("byte " + std::to_string(i));
        if (c == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "a lone CR";
        } else if (c == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "a lone LF";
        } else {
            // Control characters, and the five bytes windows-1252 leaves undefined.
            const bool undefined = c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
            ASSERT_TRUE(c >= 0x20 && c != 0x7F && !undefined) << "byte value " << int{c};
        }
    }
}

INSTANTIATE_TEST_SUITE_P(App, ShippedTextFile, ::testing::ValuesIn(shippedTextFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name;
                             for (char c : info.param) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

// ---------------------------------------------------------------------------------------------
// Extra/Setting.ini

std::vector<std::string> settingLines() {
    return splitCrLfLines(readBytes(appSourceFolder() / "Extra" / "Setting.ini"));
}

TEST(ShippedSettings, GiveExactlyTheDesignValues) {
    const std::string text = readBytes(appSourceFolder() / "Extra" / "Setting.ini");
    ASSERT_FALSE(text.empty());
    store::Settings parsed = store::parseSettings(text);
    const store::Settings design;
    // Values are read in lower case, and fonts are found without regard to case: the shipped
    // "Courier New" is the design font.
    EXPECT_EQ(korvex::ascii::toLower(parsed.editor.fontName),
              korvex::ascii::toLower(design.editor.fontName));
    EXPECT_EQ(korvex::ascii::toLower(parsed.preview.fontName),
              korvex::ascii::toLower(design.preview.fontName));
    parsed.editor.fontName = design.editor.fontName;
    parsed.preview.fontName = design.preview.fontName;
    EXPECT_EQ(parsed, design);
    // The colours that follow the system stay unset.
    EXPECT_FALSE(parsed.mainBarButtonsColour);
    EXPECT_FALSE(parsed.backgroundColour);
    EXPECT_FALSE(parsed.editor.background);
    EXPECT_FALSE(parsed.preview.background);
    // So does the text colour, which the windows keep readable on the background.
    EXPECT_FALSE(parsed.editor.text);
    EXPECT_FALSE(parsed.preview.text);
}

// The file is also the user's guide to the settings: every key is there, switched on or off,
// under a note that changes nothing.
TEST(ShippedSettings, ListEveryKeyUnderANote) {
    const auto lines = settingLines();
    for (std::string_view key :
         {"show_main_bar", "color_main_bar", "background_color", "bc_color_editor",
          "text_color_editor", "font_editor", "font_size_editor", "bc_color_preview",
          "text_color_preview", "font_preview", "font_size_preview", "dnask", "editor"}) {
        SCOPED_TRACE(std::string(key));
        int found = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::string line = korvex::ascii::toLower(trimSpaces(lines[i]));
            if (line.starts_with('!')) {
                line.erase(0, 1);  // switched off
            }
            const auto equals = line.find('=');
            if (equals == std::string::npos || trimSpaces(line.substr(0, equals)) != key) {
                continue;
            }
            ++found;
            ASSERT_GT(i, 0u);
            EXPECT_TRUE(trimSpaces(lines[i - 1]).starts_with('!')) << "no note above the key";
        }
        EXPECT_EQ(found, 1);
    }
    // A note with "=" would set a key named after its first words, and feed its value to the
    // lines without "=" that follow it.
    for (const auto& line : lines) {
        const auto t = trimSpaces(line);
        if (t.starts_with("! ") || t == "!") {
            EXPECT_EQ(line.find('='), std::string::npos) << line;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Extra/Help.html

TEST(ShippedHelp, IsSelfContained) {
    const std::string raw = readBytes(appSourceFolder() / "Extra" / "Help.html");
    const std::string page = korvex::ascii::toLower(raw);
    ASSERT_FALSE(page.empty());
    for (std::string_view external :
         {"<script", "<link", "<iframe", "url(", "@import", "http://", "https://"}) {
        EXPECT_EQ(page.find(external), std::string::npos) << external;
    }
    // Pictures are files shipped beside the page, named relative to it.
    std::size_t pictures = 0;
    for (std::size_t at = page.find(" src=\""); at != std::string::npos;
         at = page.find(" src=\"", at + 1)) {
        const std::size_t start = at + 6;
        const std::string file = raw.substr(start, raw.find('"', start) - start);
        EXPECT_TRUE(std::filesystem::is_regular_file(appSourceFolder() / "Extra" / file) &&
                    file.find(':') == std::string::npos && !file.starts_with('/'))
            << file;
        ++pictures;
    }
    EXPECT_GT(pictures, 0u);
    EXPECT_NE(page.find("</html>"), std::string::npos);
}

TEST(ShippedHelp, DocumentsEveryPartOfTheLanguage) {
    const std::string page = readBytes(appSourceFolder() / "Extra" / "Help.html");
    for (std::string_view syntax :
         {"\\v ", "\\i3\\", "\\s\\", "\\b\\", "\\^\\", "\\date\\", "\\time\\", "\\msg\\", "\\inp\\",
          "\\inc\\", "\\rnd\\", "\\if\\", "\\end\\", "{a|b|c}", "four spaces", "<code>!"}) {
        EXPECT_NE(page.find(syntax), std::string::npos) << syntax;
    }
}

}  // namespace
}  // namespace korvex::testing
