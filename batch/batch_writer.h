#pragma once
// Where the texts of a batch go besides standard output: a file each, and records in CSV or
// JSON Lines. Every file is written whole or not at all, and no file that exists is replaced
// unless that is asked for.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "batch/folder_writer.h"
#include "batch/name_pattern.h"
#include "batch/records.h"
#include "store/file_io.h"
#include "store/outcome.h"

namespace korvex::batch {

struct ExportTargets {
    std::optional<std::filesystem::path> folder;  ///< a file per text in this folder
    std::string namePattern = std::string(kDefaultNamePattern);
    std::optional<std::filesystem::path> csv;
    std::optional<std::filesystem::path> jsonLines;
    bool replace = false;    ///< replace files that exist
    std::string scriptName;  ///< `{script}` in names
    bool seedPerText = false;
    /// The position of the first text, from 1: a part of a run split in parts. The record
    /// files of a part after the first begin with no header (nor byte-order mark), so the
    /// parts joined in order are the files of the whole run.
    std::uint64_t firstIndex = 1;

    bool any() const { return folder || csv || jsonLines; }
};

/// Writes the texts of a batch to the targets, one after another, holding none of them.
class BatchWriter {
public:
    BatchWriter(ExportTargets targets, RecordLayout layout);
    ~BatchWriter();
    BatchWriter(const BatchWriter&) = delete;
    BatchWriter& operator=(const BatchWriter&) = delete;

    /// Checks the name pattern (the reason in `problem`) before anything is written.
    static bool checkPattern(const ExportTargets& targets, std::string& problem);

    /// The first target that exists among the record files and the names of the texts at
    /// positions firstIndex to firstIndex + `count` - 1; `seedOf` gives a position's seed (nothing
    /// when it is not known before the text is drawn, and the names with seeds are then not looked
    /// at).
    std::optional<std::filesystem::path> firstExisting(
        std::uint64_t count,
        const std::function<std::optional<std::uint64_t>(std::uint64_t)>& seedOf) const;

    /// Makes the folder and starts the record files. Failure: Could not write "<file>": ...
    store::Outcome open();
    /// Writes one text: its file, and its record. The files reach the disk a chunk at a time
    /// (see FolderWriter); finish() puts the last ones in place.
    store::Outcome write(const TextRecord& record);
    /// Puts the last files and the record files in place; what was written so far is kept.
    store::Outcome finish();
    /// The text files in place so far.
    std::size_t placed() const { return files_ ? files_->placed() : 0; }
    const RecordLayout& layout() const { return layout_; }
    /// True when the last failure was a file that exists.
    bool refusedExisting() const { return refusedExisting_; }

private:
    store::Outcome fail(store::Outcome outcome, const std::error_code& reason);
    store::Outcome fail(const FolderWriter::Failure& failure);

    ExportTargets targets_;
    RecordLayout layout_;
    std::optional<NamePattern> pattern_;
    std::unique_ptr<FolderWriter> files_;
    struct RecordFile {
        RecordFile(RecordFormat format, const std::filesystem::path& target)
            : format(format), file(target) {}
        RecordFormat format;
        store::StreamedFile file;
    };
    std::vector<std::unique_ptr<RecordFile>> records_;
    std::string scratch_;
    bool refusedExisting_ = false;
};

}  // namespace korvex::batch
