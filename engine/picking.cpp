#include "engine/picking.h"

#include <cmath>

namespace korvex::engine {

std::vector<std::string_view> pickAlternatives(const WorkingRecord& record, Random& random) {
    const std::size_t blocks = record.blockCount() + 1;
    std::vector<std::string_view> picks(blocks);
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::size_t n = record.alternativesOf(b);
        random.reseedFromClock();
        const auto index =
            static_cast<std::size_t>(std::floor(static_cast<double>(n) * random.next()));
        if (n > 0) {
            picks[b] = record.line(record.altLines[record.blockStart[b] + index]);
        }
    }
    return picks;
}

}  // namespace korvex::engine
