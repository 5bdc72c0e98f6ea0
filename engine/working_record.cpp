#include "engine/working_record.h"

#include <algorithm>

#include "engine/markers.h"
#include "store/file_io.h"
#include "store/text_codec.h"

namespace korvex::engine {

std::string WorkingRecord::line(std::size_t index) const {
    std::string line;
    if (kinds[index] == LineKind::Alternative) {
        line = kAlternativeMarker;
    }
    line += body(index);
    return line;
}

std::string WorkingRecord::workingFile() const {
    std::string file;
    file.reserve(text.size() + lineCount() * (kLineBreak.size() + kAlternativeMarker.size()));
    for (std::size_t i = 0; i < lineCount(); ++i) {
        if (kinds[i] == LineKind::Alternative) {
            file += kAlternativeMarker;
        }
        file += body(i);
        file += kLineBreak;
    }
    return file;
}

void WorkingRecord::clear() {
    text.clear();
    ends.clear();
    kinds.clear();
    altLines.clear();
    blockStart.clear();
    createsBlockZero = true;
}

store::Outcome writeWorkingFiles(const WorkingRecord& record, const std::filesystem::path& folder,
                                 bool createTempFolder, const std::function<bool()>& stopped) {
    const auto tempFolder = folder / "Temp";
    std::error_code error;
    if (createTempFolder) {
        std::filesystem::create_directories(tempFolder, error);
    }
    // Clear the block files of the previous generation (files only, as "Temp\*.*" does).
    for (std::filesystem::directory_iterator it(tempFolder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code ignored;
        if (!it->is_directory(ignored)) {
            std::filesystem::remove(it->path(), ignored);
        }
    }

    // Every file of one record is written in the same encoding: windows-1252 when the whole
    // working file fits (the markers and line breaks always do), otherwise UTF-8. ASCII reads
    // the same in both, and is written without an encoded copy.
    const bool ascii = std::none_of(record.text.begin(), record.text.end(),
                                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    const auto encoding =
        store::fitsWindows1252(record.text) ? store::Encoding::Windows1252 : store::Encoding::Utf8;
    auto write = [&](const std::filesystem::path& file, const std::string& content) {
        return ascii ? store::writeRecordFile(file, content)
                     : store::writeRecordFile(file, store::encode(content, encoding));
    };

    const auto workingFile = folder / "Temp.txt";
    if (auto written = write(workingFile, record.workingFile()); !written) {
        return written;
    }
    std::string content;
    for (std::size_t b = 0; b + 1 < record.blockStart.size(); ++b) {
        if (record.alternativesOf(b) == 0 && !(b == 0 && record.createsBlockZero)) {
            continue;
        }
        content.clear();
        for (auto k = record.blockStart[b]; k < record.blockStart[b + 1]; ++k) {
            content += kAlternativeMarker;
            content += record.body(record.altLines[k]);
            content += kLineBreak;
        }
        if (stopped && stopped()) {
            std::error_code ignored;
            std::filesystem::remove(workingFile, ignored);
            return store::Outcome::success();
        }
        const auto blockFile = tempFolder / (std::to_string(b) + ".txt");
        if (auto written = write(blockFile, content); !written) {
            return written;
        }
    }
    return store::Outcome::success();
}

}  // namespace korvex::engine
