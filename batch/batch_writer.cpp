#include "batch/batch_writer.h"

#include <unordered_set>

#include "store/text_codec.h"

namespace korvex::batch {

namespace fs = std::filesystem;

BatchWriter::BatchWriter(ExportTargets targets, RecordLayout layout)
    : targets_(std::move(targets)), layout_(std::move(layout)) {
    std::string problem;
    if (targets_.folder) {
        pattern_ = NamePattern::parse(targets_.namePattern, targets_.seedPerText, problem);
    }
}

BatchWriter::~BatchWriter() = default;

bool BatchWriter::checkPattern(const ExportTargets& targets, std::string& problem) {
    return !targets.folder ||
           NamePattern::parse(targets.namePattern, targets.seedPerText, problem).has_value();
}

std::optional<fs::path> BatchWriter::firstExisting(
    std::uint64_t count,
    const std::function<std::optional<std::uint64_t>(std::uint64_t)>& seedOf) const {
    std::error_code ec;
    for (const auto& file : {targets_.csv, targets_.jsonLines}) {
        if (file && fs::exists(fs::symlink_status(*file, ec))) {
            return file;
        }
    }
    if (!pattern_ || !fs::is_directory(*targets_.folder, ec)) {
        return std::nullopt;
    }
    // For many texts one listing of the folder costs less than a look at every name.
    std::optional<std::unordered_set<std::string>> listed;
    if (count > 64) {
        listed.emplace();
        for (fs::directory_iterator entry(*targets_.folder, ec), end; !ec && entry != end;
             entry.increment(ec)) {
            listed->insert(entry->path().filename().string());
        }
        if (ec) {
            listed.reset();
        }
    }
    const std::uint64_t first = targets_.firstIndex;
    for (std::uint64_t position = first; position - first < count; ++position) {
        const auto seed = pattern_->usesSeed() ? seedOf(position) : std::uint64_t{0};
        if (!seed) {
            break;
        }
        const std::string name = pattern_->name(position, *seed, targets_.scriptName);
        if (listed ? listed->contains(name)
                   : fs::exists(fs::symlink_status(*targets_.folder / name, ec))) {
            return *targets_.folder / name;
        }
    }
    return std::nullopt;
}

store::Outcome BatchWriter::fail(store::Outcome outcome, const std::error_code& reason) {
    refusedExisting_ = reason == std::errc::file_exists;
    return outcome;
}

store::Outcome BatchWriter::fail(const FolderWriter::Failure& failure) {
    return fail(store::writeFailure(failure.file, failure.error), failure.error);
}

store::Outcome BatchWriter::open() {
    if (pattern_) {
        FolderWriterOptions options;
        options.replace = targets_.replace;
        files_ = std::make_unique<FolderWriter>(*targets_.folder, options);
        if (const auto failure = files_->open()) {
            return fail(failure);
        }
    }
    const std::pair<const std::optional<fs::path>*, RecordFormat> files[] = {
        {&targets_.csv, RecordFormat::Csv}, {&targets_.jsonLines, RecordFormat::JsonLines}};
    for (const auto& [path, format] : files) {
        if (!*path) {
            continue;
        }
        std::error_code ec;
        // Found out now rather than after the last text.
        if (!targets_.replace && fs::exists(fs::symlink_status(**path, ec))) {
            const auto exists = std::make_error_code(std::errc::file_exists);
            return fail(store::writeFailure(**path, exists), exists);
        }
        auto record = std::make_unique<RecordFile>(format, **path);
        if (auto opened = record->file.open(); !opened) {
            return opened;
        }
        if (targets_.firstIndex <= 1) {
            if (auto header = record->file.append(recordHeader(format, layout_)); !header) {
                return header;
            }
        }
        records_.push_back(std::move(record));
    }
    return store::Outcome::success();
}

store::Outcome BatchWriter::write(const TextRecord& record) {
    if (files_) {
        // A text file as the window's text export writes it: the codec's choice of encoding,
        // and a line break at the end.
        scratch_.assign(record.text);
        scratch_ += "\r\n";
        const std::string bytes = store::encode(scratch_);
        const std::string name = pattern_->name(record.index, record.seed, targets_.scriptName);
        if (const auto failure = files_->add(name, bytes)) {
            return fail(failure);
        }
    }
    for (auto& file : records_) {
        scratch_.clear();
        appendRecord(file->format, layout_, record, scratch_);
        if (auto appended = file->file.append(scratch_); !appended) {
            // The texts written before stay, as they would have without the records.
            if (files_) {
                (void)files_->flush();
            }
            return appended;
        }
    }
    return store::Outcome::success();
}

store::Outcome BatchWriter::finish() {
    if (files_) {
        if (const auto failure = files_->flush()) {
            return fail(failure);
        }
    }
    for (auto& file : records_) {
        const fs::path target = file->file.target();
        std::error_code ec;
        const bool existed = fs::exists(fs::symlink_status(target, ec));
        if (auto committed = file->file.commit(targets_.replace); !committed) {
            return fail(committed, existed && !targets_.replace
                                       ? std::make_error_code(std::errc::file_exists)
                                       : std::error_code());
        }
    }
    records_.clear();
    return store::Outcome::success();
}

}  // namespace korvex::batch
