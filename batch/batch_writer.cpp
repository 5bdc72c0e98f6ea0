#include "batch/batch_writer.h"

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
    for (std::uint64_t position = 1; position <= count; ++position) {
        const auto seed = pattern_->usesSeed() ? seedOf(position) : std::uint64_t{0};
        if (!seed) {
            break;
        }
        const fs::path file =
            *targets_.folder / pattern_->name(position, *seed, targets_.scriptName);
        if (fs::exists(fs::symlink_status(file, ec))) {
            return file;
        }
    }
    return std::nullopt;
}

store::Outcome BatchWriter::fail(store::Outcome outcome, const std::error_code& reason) {
    refusedExisting_ = reason == std::errc::file_exists;
    return outcome;
}

store::Outcome BatchWriter::open() {
    if (targets_.folder) {
        std::error_code error;
        fs::create_directories(*targets_.folder, error);
        if (error) {
            return store::writeFailure(*targets_.folder, error);
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
        if (auto header = record->file.append(recordHeader(format, layout_)); !header) {
            return header;
        }
        records_.push_back(std::move(record));
    }
    return store::Outcome::success();
}

store::Outcome BatchWriter::write(const TextRecord& record) {
    if (pattern_) {
        const fs::path file =
            *targets_.folder / pattern_->name(record.index, record.seed, targets_.scriptName);
        // A text file as the window's text export writes it: the codec's choice of encoding,
        // and a line break at the end.
        scratch_.assign(record.text);
        scratch_ += "\r\n";
        const std::string bytes = store::encode(scratch_);
        const std::error_code error = targets_.replace ? store::replaceFileContent(file, bytes)
                                                       : store::createFileContent(file, bytes);
        if (error) {
            return fail(store::writeFailure(file, error), error);
        }
    }
    for (auto& file : records_) {
        scratch_.clear();
        appendRecord(file->format, layout_, record, scratch_);
        if (auto appended = file->file.append(scratch_); !appended) {
            return appended;
        }
    }
    return store::Outcome::success();
}

store::Outcome BatchWriter::finish() {
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
