#include "store/settings.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/store/temp_folder.h"

namespace korvex::store {
namespace {

TEST(Settings, DesignValuesWithoutAFile) {
    const Settings s = parseSettings("");
    EXPECT_TRUE(s.showMainBar);
    EXPECT_EQ(s.mainBarColour, 4210752u);
    EXPECT_EQ(s.mainBarButtonsColour, std::nullopt);
    EXPECT_EQ(s.backgroundColour, std::nullopt);
    for (const TextLook& look : {s.editor, s.preview}) {
        EXPECT_EQ(look.background, std::nullopt);
        EXPECT_EQ(look.text, std::nullopt);  // the design's dark blue, made readable
        EXPECT_EQ(look.fontName, "Courier New");
        EXPECT_EQ(look.fontSize, 11.25f);
    }
    EXPECT_FALSE(s.saveWithoutAsking);
    EXPECT_FALSE(s.useExternalEditor);

    testing::TempFolder folder;
    EXPECT_EQ(loadSettings(AppFolder(folder.path())), s);
    testing::writeBytes(folder.path() / "Extra", "a file where the folder should be");
    EXPECT_EQ(loadSettings(AppFolder(folder.path())), s);
}

TEST(Settings, ColourText) {
    struct Case {
        std::string text;
        ColourNumber colour;
    };
    const std::vector<Case> cases = {
        {"#ff0000", 255},
        {"#FF0000", 255},
        {"ff0000", 255},
        {"#000040", 4194304},
        {"#404040", 4210752},
        {"#fff", 255 + 15 * 256},
        {"#zz00ff", 16711680},
        {"#1z2233", 1 + 34 * 256 + 51 * 65536},
        {"", 0},
        {"#", 0},
        {"##ff##00##ff", 255 + 255 * 65536},
        {"#ffffff80", 16777215},
        {"#\xC3\xA9"
         "0ff00",
         65280},  // a character, not a byte, is one place
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseColourText(c.text), c.colour) << c.text;
    }
    EXPECT_EQ(redOf(parseColourText("#fff")), 255);
    EXPECT_EQ(greenOf(parseColourText("#fff")), 15);
    EXPECT_EQ(blueOf(parseColourText("#fff")), 0);
}

TEST(Settings, FontSize) {
    EXPECT_EQ(parseFontSize("12"), 12.0f);
    EXPECT_EQ(parseFontSize("14.5"), 14.5f);
    EXPECT_EQ(parseFontSize("12,5"), 12.5f);
    EXPECT_EQ(parseFontSize(".5"), 0.5f);
    for (const char* bad : {"", "abc", "12pt", "-3", "0", "1e3", "inf", "nan", "99999", "1,2,3"}) {
        EXPECT_EQ(parseFontSize(bad), std::nullopt) << bad;
    }
}

TEST(Settings, LinesApplyToTheDesignValues) {
    struct Case {
        std::string text;
        std::function<void(Settings&)> change;  // what the text changes in the design values
    };
    const std::vector<Case> cases = {
        {"show_main_bar=0", [](Settings& s) { s.showMainBar = false; }},
        {"show_main_bar=0\r\nSHOW_MAIN_BAR = 1", [](Settings&) {}},
        {"show_main_bar=0\r\nshow_main_bar=yes", [](Settings& s) { s.showMainBar = false; }},
        {"Show_Main_Bar = 0  ", [](Settings& s) { s.showMainBar = false; }},
        {"color_main_bar=#FF0000",
         [](Settings& s) { s.mainBarColour = 255, s.mainBarButtonsColour = 255; }},
        {"color_main_bar=ff0000",
         [](Settings& s) { s.mainBarColour = 255, s.mainBarButtonsColour = 255; }},
        {"background_color=#00FF00", [](Settings& s) { s.backgroundColour = 65280; }},
        {"bc_color_editor=#000040", [](Settings& s) { s.editor.background = 4194304; }},
        {"text_color_editor=#0000ff", [](Settings& s) { s.editor.text = 16711680; }},
        {"font_editor = Arial Black", [](Settings& s) { s.editor.fontName = "arial black"; }},
        {"font_editor =", [](Settings&) {}},
        {"font_size_editor=14.5", [](Settings& s) { s.editor.fontSize = 14.5f; }},
        {"font_size_editor=big", [](Settings&) {}},
        {"bc_color_preview=#ffffff", [](Settings& s) { s.preview.background = 16777215; }},
        {"text_color_preview=#102030", [](Settings& s) { s.preview.text = 0x302010; }},
        {"font_preview=Verdana", [](Settings& s) { s.preview.fontName = "verdana"; }},
        {"font_size_preview=12", [](Settings& s) { s.preview.fontSize = 12.0f; }},
        {"dnask = 1 = x", [](Settings& s) { s.saveWithoutAsking = true; }},
        {"dnask=1\r\nDNASK=Yes", [](Settings&) {}},
        {"editor=1", [](Settings& s) { s.useExternalEditor = true; }},
        // Later lines win.
        {"font_size_preview=12\r\nfont_size_preview=9",
         [](Settings& s) { s.preview.fontSize = 9; }},
        // A line without "=" takes the value of the line before; a comment is such a line.
        {"dnask=1\r\neditor",
         [](Settings& s) { s.saveWithoutAsking = s.useExternalEditor = true; }},
        {"# shows the toolbar\r\nshow_main_bar=0", [](Settings& s) { s.showMainBar = false; }},
        // An empty line repeats the line before, keeping its value for the next.
        {"x = 0\r\n\r\nshow_main_bar", [](Settings& s) { s.showMainBar = false; }},
        {"show_main_bar=0\r\n\r\n", [](Settings& s) { s.showMainBar = false; }},
        // Only spaces are trimmed.
        {"\tdnask=1", [](Settings&) {}},
        {"dnask=\t1", [](Settings&) {}},
        // Unknown keys change nothing.
        {"colour_main_bar=#ff0000\r\nshow-main-bar=0", [](Settings&) {}},
        // Lines end at CR LF, a lone CR or a lone LF.
        {"dnask=1\reditor=1",
         [](Settings& s) { s.saveWithoutAsking = s.useExternalEditor = true; }},
        {"dnask=1\neditor=1\n",
         [](Settings& s) { s.saveWithoutAsking = s.useExternalEditor = true; }},
    };
    // The mutators assign whole strings: g++ 12 reports a false -Wrestrict for assigning
    // a short literal in place at -O3.
    for (const Case& c : cases) {
        Settings expected;
        c.change(expected);
        const Settings actual = parseSettings(c.text);
        EXPECT_TRUE(actual == expected) << ::testing::PrintToString(c.text);
    }
}

TEST(Settings, FileIsReadWithTheCodec) {
    testing::TempFolder folder;
    AppFolder app(folder.path());
    std::filesystem::create_directories(app.extra());
    testing::writeBytes(app.settingFile(), "font_editor=Caf\xE9\r\nshow_main_bar = 0\r\n");
    const Settings s = loadSettings(app);
    EXPECT_EQ(s.editor.fontName, "caf\xC3\xA9");
    EXPECT_FALSE(s.showMainBar);
}

}  // namespace
}  // namespace korvex::store
