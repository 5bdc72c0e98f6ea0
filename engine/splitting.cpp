#include "engine/splitting.h"

#include <algorithm>

namespace korvex::engine {

void splitBlocks(WorkingRecord& record) {
    record.altLines.clear();
    record.blockStart.assign(1, 0);
    const auto& kinds = record.kinds;
    if (std::find(kinds.begin(), kinds.end(), LineKind::Alternative) == kinds.end()) {
        record.blockStart.push_back(0);  // block 0, with nothing in it
        return;
    }
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        switch (kinds[i]) {
            case LineKind::Alternative:
                record.altLines.push_back(static_cast<std::uint32_t>(i));
                break;
            case LineKind::Text:
            case LineKind::Directive:
                // A text line ends the current block: the next one has the next number.
                record.blockStart.push_back(static_cast<std::uint32_t>(record.altLines.size()));
                break;
            case LineKind::Blank:
            case LineKind::Comment:
                break;
        }
    }
    record.blockStart.push_back(static_cast<std::uint32_t>(record.altLines.size()));
}

}  // namespace korvex::engine
