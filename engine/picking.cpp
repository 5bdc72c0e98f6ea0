#include "engine/picking.h"

#include <cmath>

namespace korvex::engine {

void pickAlternatives(const WorkingRecord& record, Random& random, Picks& picks) {
    const std::size_t blocks = record.blockCount() + 1;
    picks.assign(blocks, kNoPick);
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::size_t n = record.alternativesOf(b);
        random.reseedFromClock();
        const auto index =
            static_cast<std::size_t>(std::floor(static_cast<double>(n) * random.next()));
        if (n > 0) {
            picks[b] = record.altLines[record.blockStart[b] + index];
        }
    }
}

std::string pickText(const WorkingRecord& record, std::uint32_t pick) {
    return pick == kNoPick ? std::string() : record.line(pick);
}

}  // namespace korvex::engine
