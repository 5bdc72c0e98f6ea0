#include "output/text_figures.h"

#include <algorithm>
#include <utility>

namespace korvex::ui {

std::uint64_t characterCount(std::string_view utf8) {
    // Every code point has exactly one byte that is not a continuation byte (10xxxxxx).
    return static_cast<std::uint64_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::uint64_t wordCount(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    return static_cast<std::uint64_t>(std::count(text.begin(), text.end(), ' ')) + 1;
}

std::string variantCountText(const engine::VariantCount& count) {
    if (count.digitCount() <= kWholeVariantDigits) {
        return count.decimal();
    }
    return "about " + count.scientific();
}

std::string statisticsText(std::string_view characters, std::string_view words,
                           std::string_view items, std::string_view variants) {
    std::string text;
    for (const auto& [label, figure] :
         {std::pair{"N. Char.   : ", characters}, std::pair{"N. Words   : ", words},
          std::pair{"N. Items   : ", items}, std::pair{"N. Variants: ", variants}}) {
        text += label;
        text += figure;
        text += "\r\n";
    }
    return text;
}

}  // namespace korvex::ui
