#include "engine/working_record.h"

#include "store/file_io.h"
#include "store/text_codec.h"

namespace korvex::engine {

store::Outcome writeWorkingFiles(const WorkingRecord& record, const std::filesystem::path& folder,
                                 bool createTempFolder) {
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
    // working file fits, otherwise UTF-8.
    const auto encoding = store::fitsWindows1252(record.workingText) ? store::Encoding::Windows1252
                                                                     : store::Encoding::Utf8;
    auto encoded = [&](std::string_view text) { return store::encode(text, encoding); };

    const auto workingFile = folder / "Temp.txt";
    if (auto written = store::writeRecordFile(workingFile, encoded(record.workingText)); !written) {
        return written;
    }
    std::string content;
    for (std::size_t b = 0; b + 1 < record.blockStart.size(); ++b) {
        if (record.alternativesOf(b) == 0 && !(b == 0 && record.createsBlockZero)) {
            continue;
        }
        content.clear();
        for (auto k = record.blockStart[b]; k < record.blockStart[b + 1]; ++k) {
            content += record.line(record.altLines[k]);
            content += "\r\n";
        }
        const auto blockFile = tempFolder / (std::to_string(b) + ".txt");
        if (auto written = store::writeRecordFile(blockFile, encoded(content)); !written) {
            return written;
        }
    }
    return store::Outcome::success();
}

}  // namespace korvex::engine
