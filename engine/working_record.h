#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/outcome.h"

namespace korvex::engine {

/// What a working line is to the stages after reading.
enum class LineKind : std::uint8_t {
    Blank,        ///< empty once trimmed
    Comment,      ///< trimmed form begins with "!"
    Alternative,  ///< begins with the alternative marker
    Text,         ///< any other line
    Directive,    ///< a text line written for a `\rnd\` or `\if\` line: it takes a block number
                  ///< like any text line, but its own text never reaches the finished text
};

/// What the working files of a generation hold: `Temp.txt` (the script after the reading
/// pass, one working line per line) and `Temp/<n>.txt` (the alternative lines of block n).
/// The generation never reads them back; they are a record, written after the text is out.
///
/// A script of nothing but bars makes a working line of every byte, so the lines are kept
/// compactly: their bodies one after another without line breaks, an alternative line without
/// its leading alternative marker (its kind says it has one), and where each body ends.
struct WorkingRecord {
    std::string text;                 ///< the bodies of the working lines, one after another
    std::vector<std::uint32_t> ends;  ///< where the body of each working line ends in `text`
    std::vector<LineKind> kinds;      ///< what each working line is
    /// Alternative lines grouped by block: block b holds the line indices
    /// altLines[blockStart[b] .. blockStart[b + 1]), in script order.
    std::vector<std::uint32_t> altLines;
    std::vector<std::uint32_t> blockStart;  ///< one entry per block number, plus one
    /// Whether `Temp/0.txt` is created even when block 0 has no alternatives.
    bool createsBlockZero = true;

    std::size_t lineCount() const { return kinds.size(); }
    /// A working line without its alternative marker, if it has one by its kind.
    std::string_view body(std::size_t index) const {
        const std::uint32_t start = index == 0 ? 0 : ends[index - 1];
        return std::string_view(text).substr(start, ends[index] - start);
    }
    /// A working line as the working file holds it.
    std::string line(std::size_t index) const;
    /// The working file: every working line followed by CR LF.
    std::string workingFile() const;
    /// Empties the record and keeps its memory for the next generation.
    void clear();

    /// The highest block number: the number of text lines, once there is an alternative.
    std::size_t blockCount() const { return blockStart.size() < 2 ? 0 : blockStart.size() - 2; }
    std::size_t alternativesOf(std::size_t block) const {
        return block + 1 < blockStart.size() ? blockStart[block + 1] - blockStart[block] : 0;
    }
};

/// Writes the record under `folder`: deletes every file in `folder/Temp`, writes `Temp.txt`,
/// `Temp/0.txt` and one file per block with alternatives, each in one write, encoded as the
/// text codec says. The `Temp` folder must exist unless `createTempFolder` is set. Stops at the
/// first file that cannot be written: Could not write "<file>": <reason>.
///
/// `stopped` is asked before each file: once it says true the writing ends there, and
/// `Temp.txt` is deleted again, so no working file stands for a set whose block files are
/// missing. A stopped write is no failure.
store::Outcome writeWorkingFiles(const WorkingRecord& record, const std::filesystem::path& folder,
                                 bool createTempFolder = false,
                                 const std::function<bool()>& stopped = {});

}  // namespace korvex::engine
