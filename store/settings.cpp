#include "store/settings.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <vector>

#include "store/ascii.h"
#include "store/file_io.h"
#include "store/text_codec.h"

namespace korvex::store {

namespace {

constexpr float kLargestFontSize = 1638.0f;

int hexDigit(char32_t c) {
    if (c >= '0' && c <= '9') {
        return static_cast<int>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<int>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<int>(c - 'A' + 10);
    }
    return -1;
}

// The characters of UTF-8 text, one entry per character; a byte that starts no character is
// taken alone. Only their being hexadecimal digits or not matters here.
std::vector<char32_t> characters(std::string_view text) {
    std::vector<char32_t> result;
    for (std::size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (i + length > text.size()) {
            length = 1;
        }
        result.push_back(length == 1 ? c : 0xFFFD);
        i += length;
    }
    return result;
}

void applySetting(Settings& settings, std::string_view key, const std::string& value) {
    if (key == "show_main_bar") {
        if (value == "0") {
            settings.showMainBar = false;
        } else if (value == "1") {
            settings.showMainBar = true;
        }
    } else if (key == "color_main_bar") {
        settings.mainBarColour = parseColourText(value);
        settings.mainBarButtonsColour = settings.mainBarColour;
    } else if (key == "background_color") {
        settings.backgroundColour = parseColourText(value);
    } else if (key == "bc_color_editor") {
        settings.editor.background = parseColourText(value);
    } else if (key == "text_color_editor") {
        settings.editor.text = parseColourText(value);
    } else if (key == "font_editor") {
        if (!value.empty()) {
            settings.editor.fontName = value;
        }
    } else if (key == "font_size_editor") {
        settings.editor.fontSize = parseFontSize(value).value_or(settings.editor.fontSize);
    } else if (key == "bc_color_preview") {
        settings.preview.background = parseColourText(value);
    } else if (key == "text_color_preview") {
        settings.preview.text = parseColourText(value);
    } else if (key == "font_preview") {
        if (!value.empty()) {
            settings.preview.fontName = value;
        }
    } else if (key == "font_size_preview") {
        settings.preview.fontSize = parseFontSize(value).value_or(settings.preview.fontSize);
    } else if (key == "dnask") {
        settings.saveWithoutAsking = value == "1";
    } else if (key == "editor") {
        settings.useExternalEditor = value == "1";
    }
}

}  // namespace

ColourNumber parseColourText(std::string_view text) {
    std::string withoutHash(text);
    std::erase(withoutHash, '#');
    const std::vector<char32_t> chars = characters(withoutHash);
    ColourNumber colour = 0;
    for (std::size_t pair = 0; pair < 3; ++pair) {
        ColourNumber component = 0;
        for (std::size_t k = pair * 2; k < pair * 2 + 2 && k < chars.size(); ++k) {
            int digit = hexDigit(chars[k]);
            if (digit < 0) {
                break;
            }
            component = component * 16 + static_cast<ColourNumber>(digit);
        }
        colour += component << (8 * pair);
    }
    return colour;
}

std::optional<float> parseFontSize(std::string_view text) {
    std::string number(ascii::trimSpaces(text));
    if (number.starts_with('+')) {
        number.erase(0, 1);
    }
    // The size was written for the user's own decimal separator; take either.
    for (char& c : number) {
        if (c == ',') {
            c = '.';
        }
    }
    if (number.empty() ||
        !(std::isdigit(static_cast<unsigned char>(number.front())) || number.front() == '.')) {
        return std::nullopt;  // from_chars would also take "inf", "nan" and a sign
    }
    float size = 0;
    const char* end = number.data() + number.size();
    auto [stop, error] = std::from_chars(number.data(), end, size, std::chars_format::fixed);
    if (error != std::errc() || stop != end || !std::isfinite(size) || size <= 0 ||
        size > kLargestFontSize) {
        return std::nullopt;
    }
    return size;
}

Settings parseSettings(std::string_view text) {
    Settings settings;
    // Key and value outlive their line: a line without "=" leaves the value of the line before,
    // and an empty line leaves both.
    std::string key;
    std::string value;
    for (std::string_view line : splitLines(text)) {
        if (!line.empty()) {
            std::size_t equals = line.find('=');
            key = ascii::toLower(ascii::trimSpaces(line.substr(0, equals)));
            if (equals != std::string_view::npos) {
                std::string_view rest = line.substr(equals + 1);
                value = ascii::toLower(ascii::trimSpaces(rest.substr(0, rest.find('='))));
            }
        }
        applySetting(settings, key, value);
    }
    return settings;
}

Settings loadSettings(const AppFolder& app) {
    std::optional<DecodedText> content = readDecodedText(app.settingFile());
    return content ? parseSettings(content->text) : Settings{};
}

}  // namespace korvex::store
