#include "workload.h"

#include <array>
#include <string_view>

namespace korvex::bench {
namespace {

constexpr std::array<std::string_view, 12> kWords = {"sunny",   "quiet",  "golden",  "rainy",
                                                     "bright",  "gentle", "morning", "evening",
                                                     "harbour", "garden", "meadow",  "valley"};

}  // namespace

std::string blockScript(std::size_t blocks, std::size_t alternatives) {
    std::string script;
    script.reserve(blocks * 56);
    for (std::size_t b = 0; b < blocks; ++b) {
        script += "Line ";
        script += std::to_string(b);
        script += "\\s\\{";
        for (std::size_t a = 0; a < alternatives; ++a) {
            if (a > 0) {
                script += '|';
            }
            script += kWords[(b * 7 + a * 5 + 3) % kWords.size()];
            script += ' ';
            script += std::to_string(a + 1);
        }
        script += "}\\b\\\r\n";
    }
    return script;
}

std::string smallScript() {
    return "! A note to a neighbour\r\n"
           "\\v name = Sam|Alex|Robin\r\n"
           "\\v day = Monday|Friday\r\n"
           "\r\n"
           "Dear\\s\\\\name\\,\\b\\\\b\\\r\n"
           "{Thank you|Thanks a lot|Many thanks} for\\s\\\r\n"
           "{watering my plants|feeding the cat|taking in the post}\r\n"
           "\\s\\while I was away.\\b\\\r\n"
           "    The trip was lovely.\r\n"
           "    We had a wonderful time.\r\n"
           "    It rained, but we laughed a lot.\r\n"
           "\\s\\I brought you something\\s\\\r\n"
           "{small|sweet|silly} from the\\s\\{market|harbour|old town}.\\b\\\r\n"
           "Shall we meet on\\s\\\\day\\?\\b\\\r\n"
           "! the same pick again\r\n"
           "P.S. The\\s\\\\i2\\\\s\\was not my idea.\\b\\\r\n"
           "\\^\\\r\n"
           "    Warm wishes,\r\n"
           "    All the best,\r\n"
           "    See you soon,\r\n"
           "\\b\\\r\n"
           "{Jo|Kim|Lee}\\b\\\r\n"
           "\r\n"
           "! End of the note\r\n"
           "\\b\\\r\n"
           "{Sent from the garden|Written by hand|}\r\n"
           "\\b\\\r\n"
           "{:)|;)|}\r\n"
           "\r\n"
           "! done\r\n";
}

}  // namespace korvex::bench
