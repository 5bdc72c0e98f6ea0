#include <gtest/gtest.h>

#include <QString>
#include <string>

#include "editor/text_commands.h"

using namespace korvex::editor;

namespace {

struct CommandCase {
    const char* name;
    QString (*command)(const QString&);
    const char* selected;  // UTF-8; line breaks as the pane hands them over, CR LF
    const char* result;
};

const CommandCase kCommandCases[] = {
    {"block", addBlock, "red", "{|red}"},
    {"block of nothing", addBlock, "", "{|}"},
    {"title case", titleCase, "hELLO wORLD-wide", "Hello World-wide"},
    {"title case keeps braces", titleCase, "{red|green}", "{red|green}"},
    {"title case after tab and line break", titleCase, "a\tb\r\nc(d", "A\tB\r\nC(d"},
    {"title case of accented letters", titleCase, "\xC3\xA9t\xC3\xA9 \xC3\x89T\xC3\x89",
     "\xC3\x89t\xC3\xA9 \xC3\x89t\xC3\xA9"},
    {"invert case leaves accents", invertCase, "Ab1\xC3\xA9", "aB1\xC3\xA9"},
    {"upper case with accents", upperCase, "caf\xC3\xA9 x", "CAF\xC3\x89 X"},
    {"lower case with accents", lowerCase, "CAF\xC3\x89 X", "caf\xC3\xA9 x"},
    {"split text", splitText, " red green  blue ", "\r\nred\r\ngreen\r\n\r\nblue"},
    {"split text keeps tabs", splitText, "\ta b\t", "\r\n\ta\r\nb\t"},
    {"split nothing", splitText, "", "\r\n"},
    {"add 4 spaces drops empty lines", addFourSpaces, "a\r\n\r\nb\r\n", "    a\r\n    b\r\n"},
    {"add 4 spaces ends the last line", addFourSpaces, "a\r\nb", "    a\r\n    b\r\n"},
    {"add 4 spaces to one word", addFourSpaces, "word", "    word\r\n"},
    {"remove spaces", removeInitialSpaces, "    x  \r\n   \r\n", "x\r\n\r\n"},
    {"remove spaces, tabs stay", removeInitialSpaces, " \tx\t \r\n\r\n  y", "\tx\t\r\ny\r\n"},
};

TEST(TextCommands, EachGivesTheTextThatReplacesTheSelection) {
    for (const CommandCase& c : kCommandCases) {
        EXPECT_EQ(c.command(QString::fromUtf8(c.selected)).toStdString(), std::string(c.result))
            << c.name;
    }
}

}  // namespace
