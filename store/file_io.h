#pragma once
// Whole-file reads and writes. Every write of user data goes through writeFileAtomically, so
// a crash, a power cut or a full disk leaves a file with either its old or its new content,
// never a part.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "store/outcome.h"
#include "store/text_codec.h"

namespace korvex::store {

/// Temporary files of writeFileAtomically begin with this; folder listings leave them out.
inline constexpr std::string_view kSaveTempPrefix = ".korvex-save-";

/// Writes every byte of `bytes` to the open file `fd`, going on after a partial write or an
/// interrupted one.
std::error_code writeAll(int fd, std::string_view bytes);

/// A temporary file's name: kSaveTempPrefix and 16 hex digits no other writer picks at the
/// same moment (random bits drawn once a process, and a counter). Still open it with O_EXCL.
std::string temporaryName();

/// Makes `bytes` the whole content of `target`: writes a temporary file in the same folder,
/// flushes it to disk and closes it, renames it over the target and flushes the folder, so
/// even a power cut leaves the old content or the new, never an empty file. A failure leaves the
/// target as it was and removes the temporary file. An existing target keeps its permissions; one
/// without write permission for its owner is refused, as is a target that is a folder, a pipe or a
/// device. A symbolic link is followed, so the file it points to gets the content.
/// Failure message: Could not write "<target>": <reason>.
Outcome writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

/// Writes `bytes` as the whole content of `file` in one write, without the temporary file and
/// the flush to disk: for records the program rebuilds anyway (the working files), never for
/// user data. Failure message: as writeFileAtomically's.
Outcome writeRecordFile(const std::filesystem::path& file, std::string_view bytes);

/// The failure of a write, in the one wording every layer uses:
/// Could not write "<file>": <reason>.
Outcome writeFailure(const std::filesystem::path& file, const std::error_code& reason);

/// writeFileAtomically, giving only the system's reason (empty on success), for operations
/// whose message names more than the target.
std::error_code replaceFileContent(const std::filesystem::path& target, std::string_view bytes);

/// Makes `target` a new file holding `bytes`, never replacing one: writes a temporary file in
/// the same folder, flushes it and renames it without replacing, so a file that appeared a
/// moment ago is left alone. Fails with file_exists (is_a_directory for a folder) when the
/// target exists, and then leaves nothing behind.
std::error_code createFileContent(const std::filesystem::path& target, std::string_view bytes);

/// Renames `from` to `to` unless `to` exists (file_exists), whatever appears there meanwhile,
/// then flushes the folder to disk. Where the file system has no such rename, a hard link
/// stands in (renameByLinking).
std::error_code renameWithoutReplacing(const std::filesystem::path& from,
                                       const std::filesystem::path& to);

/// The no-replace rename for file systems without one: a second name by a hard link (which
/// never replaces), then the old name removed. Declared for the tests of both ways.
std::error_code renameByLinking(const std::filesystem::path& from, const std::filesystem::path& to);

/// A file written piece by piece, as a long export is: the pieces go into a temporary file in
/// the target's folder, and only commit() puts it in place, flushed to disk first. A crash, a
/// full disk or an export stopped half-way never leaves a part-written target, and a file
/// dropped without a commit leaves nothing behind.
class StreamedFile {
public:
    explicit StreamedFile(std::filesystem::path target);
    ~StreamedFile();
    StreamedFile(const StreamedFile&) = delete;
    StreamedFile& operator=(const StreamedFile&) = delete;

    /// Creates the temporary file. Failure message: Could not write "<target>": <reason>.
    Outcome open();
    /// Adds `bytes`; they reach the disk in large writes.
    Outcome append(std::string_view bytes);
    /// Puts the file in place: never over an existing file unless `replace`, and then only over
    /// a regular file its owner may write. After a failure nothing of the export is left.
    Outcome commit(bool replace);
    const std::filesystem::path& target() const { return target_; }

private:
    std::error_code drain();
    Outcome fail(const std::error_code& reason);
    void discard();

    std::filesystem::path target_;
    std::filesystem::path temp_;
    int fd_ = -1;
    std::string pending_;
};

/// Removes `file` when it is an empty regular file; content written into it, or a file with
/// content put in its place, meanwhile is never lost. A missing file, a file with content and
/// anything but a regular file are left alone without an error.
std::error_code removeEmptyFile(const std::filesystem::path& file);

/// The whole content of `file`; std::nullopt when it is missing, not a regular file (a folder,
/// a pipe, a device) or unreadable, with the reason in `error` when given.
std::optional<std::string> readFileBytes(const std::filesystem::path& file,
                                         std::error_code* error = nullptr);

/// Reads and decodes a text file (see decode()); std::nullopt when it cannot be read.
std::optional<DecodedText> readDecodedText(const std::filesystem::path& file);

/// Encodes UTF-8 text with encode() and writes it with writeFileAtomically. `preferred` and
/// `byteOrderMark` are what the file was read with (windows-1252 and none for a new file);
/// `used`, when given, receives the encoding written.
Outcome writeTextFile(const std::filesystem::path& file, std::string_view utf8,
                      Encoding preferred = Encoding::Windows1252, bool byteOrderMark = false,
                      Encoding* used = nullptr);

}  // namespace korvex::store
