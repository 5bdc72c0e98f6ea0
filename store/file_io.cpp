#include "store/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>

namespace korvex::store {
namespace fs = std::filesystem;

namespace {

std::error_code lastSystemError() {
    int code = errno;
    return code != 0 ? std::error_code(code, std::generic_category())
                     : std::make_error_code(std::errc::io_error);
}

std::error_code systemError(int code) {
    return std::error_code(code, std::generic_category());
}

fs::path folderOf(const fs::path& file) {
    fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

std::error_code checkFolder(const fs::path& folder) {
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (!fs::exists(status)) {
        return std::make_error_code(std::errc::no_such_file_or_directory);
    }
    if (!fs::is_directory(status)) {
        return std::make_error_code(std::errc::not_a_directory);
    }
    return {};
}

// A new file in `folder` under a name nobody else uses, holding `bytes` (and `permissions` when
// given). On failure nothing is left behind.
std::error_code writeTemporaryFile(const fs::path& folder, std::string_view bytes,
                                   std::optional<fs::perms> permissions, fs::path& temp) {
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = folder / temporaryName();
        // O_EXCL: never take over a file that exists.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            return systemError(errno);
        }
    }
    if (fd < 0) {
        return std::make_error_code(std::errc::file_exists);
    }
    std::error_code error = writeAll(fd, bytes);
    if (!error && permissions) {
        // Best effort: a save does not fail because the old mode could not be copied.
        (void)::fchmod(fd, static_cast<mode_t>(*permissions & fs::perms::mask));
    }
    // On the disk before the rename: otherwise a power cut can leave the new name on an empty
    // file. EINVAL: a file system that cannot sync, where there is nothing more to do.
    if (!error && ::fsync(fd) != 0 && errno != EINVAL) {
        error = systemError(errno);
    }
    if (::close(fd) != 0 && !error) {
        error = systemError(errno);
    }
    if (error) {
        ::unlink(temp.c_str());
    }
    return error;
}

// Makes a rename in `folder` last through a power cut. Best effort: not every file system lets
// a folder be opened or synced, and the rename itself has already succeeded.
void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

struct FileCloser {
    void operator()(std::FILE* file) const {
        if (file) {
            std::fclose(file);
        }
    }
};

}  // namespace

std::error_code writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return systemError(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

std::string temporaryName() {
    // Random bits from the system once a process (asking for them costs more than writing a
    // small file), spread over the names by a counter and a strong mix.
    static const std::uint64_t processBits = [] {
        std::random_device device;
        return (static_cast<std::uint64_t>(device()) << 32) ^ device();
    }();
    static std::atomic<std::uint64_t> counter{0};
    std::uint64_t z = processBits + ++counter * 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(z));
    return std::string(kSaveTempPrefix) + hex;
}

std::string reasonText(const std::error_code& error) {
    return error.message();
}

std::string failureText(std::string_view verb, const fs::path& file, std::string_view reason) {
    std::string text = "Could not ";
    text.append(verb).append(" \"").append(file.string()).append("\": ").append(reason);
    text += '.';
    return text;
}

std::string failureText(std::string_view verb, const fs::path& from, const fs::path& to,
                        std::string_view reason) {
    std::string text = "Could not ";
    text.append(verb).append(" \"").append(from.string()).append("\" to \"");
    text.append(to.string()).append("\": ").append(reason);
    text += '.';
    return text;
}

Outcome writeFailure(const fs::path& file, const std::error_code& reason) {
    return Outcome::failure(failureText("write", file, reasonText(reason)));
}

Outcome writeFileAtomically(const fs::path& target, std::string_view bytes) {
    if (std::error_code error = replaceFileContent(target, bytes)) {
        return writeFailure(target, error);
    }
    return Outcome::success();
}

Outcome writeRecordFile(const fs::path& file, std::string_view bytes) {
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(file.c_str(), "wb"));
    if (!out) {
        return writeFailure(file, lastSystemError());
    }
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), out.get()) != bytes.size()) {
        return writeFailure(file, lastSystemError());
    }
    // fclose reports what a delayed write found (a full disk, say).
    errno = 0;
    if (std::fclose(out.release()) != 0) {
        return writeFailure(file, lastSystemError());
    }
    return Outcome::success();
}

namespace {

// Whether a rename may put a new file in the place of `target`, whose status is `status`.
std::error_code replaceable(const fs::file_status& status) {
    if (!fs::exists(status)) {
        return {};
    }
    if (fs::is_directory(status)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    // The rename would put a plain file in the place of a pipe or a device.
    if (!fs::is_regular_file(status)) {
        return std::make_error_code(std::errc::operation_not_supported);
    }
    // The system would let the rename replace a read-only file; the user marked it so on
    // purpose, and a save must not undo that.
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        return std::make_error_code(std::errc::permission_denied);
    }
    return {};
}

}  // namespace

std::error_code replaceFileContent(const fs::path& requested, std::string_view bytes) {
    std::error_code ec;
    fs::path target = requested;
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path pointee = fs::canonical(target, ec);
        if (!ec) {
            target = pointee;
        }
    }

    const fs::file_status targetStatus = fs::status(target, ec);
    const bool targetExists = fs::exists(targetStatus);
    if (std::error_code refused = replaceable(targetStatus)) {
        return refused;
    }

    const fs::path folder = folderOf(target);
    if (std::error_code error = checkFolder(folder)) {
        return error;
    }
    fs::path temp;
    std::optional<fs::perms> permissions;
    if (targetExists) {
        permissions = targetStatus.permissions();
    }
    if (std::error_code error = writeTemporaryFile(folder, bytes, permissions, temp)) {
        return error;
    }
    std::error_code error;
    fs::rename(temp, target, error);
    if (error) {
        fs::remove(temp, ec);
        return error;
    }
    syncFolder(folder);
    return {};
}

std::error_code createFileContent(const fs::path& target, std::string_view bytes) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(target, ec);
    if (fs::is_directory(status)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    if (fs::exists(status)) {
        return std::make_error_code(std::errc::file_exists);
    }
    const fs::path folder = folderOf(target);
    if (std::error_code error = checkFolder(folder)) {
        return error;
    }
    fs::path temp;
    if (std::error_code error = writeTemporaryFile(folder, bytes, std::nullopt, temp)) {
        return error;
    }
    // The look above was only for a clear reason: the rename itself refuses a file that
    // appeared since.
    std::error_code error = renameWithoutReplacing(temp, target);
    if (error) {
        fs::remove(temp, ec);
    }
    return error;
}

std::error_code renameWithoutReplacing(const fs::path& from, const fs::path& to) {
    std::error_code error;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
        const int code = errno;
        // The kernel or the file system cannot promise to leave the target alone; link() can.
        error = code == EINVAL || code == ENOSYS ? renameByLinking(from, to) : systemError(code);
    }
    if (!error) {
        syncFolder(folderOf(to));
    }
    return error;
}

std::error_code renameByLinking(const fs::path& from, const fs::path& to) {
    if (::link(from.c_str(), to.c_str()) != 0) {
        return systemError(errno);
    }
    if (::unlink(from.c_str()) != 0) {
        const int code = errno;
        ::unlink(to.c_str());  // undone: the file keeps its one old name
        return systemError(code);
    }
    return {};
}

std::error_code removeEmptyFile(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(fs::symlink_status(file, ec)) || fs::file_size(file, ec) != 0 || ec) {
        return {};
    }
    // Set aside under a fresh name before the last look, so a file that received content (or
    // was replaced by one that has some) since the first look is put back, never removed.
    const fs::path aside = folderOf(file) / temporaryName();
    if (std::error_code error = renameWithoutReplacing(file, aside)) {
        return error == std::errc::no_such_file_or_directory ? std::error_code() : error;
    }
    if (fs::file_size(aside, ec) != 0 || ec) {
        return renameWithoutReplacing(aside, file);
    }
    fs::remove(aside, ec);
    return ec;
}

std::optional<std::string> readFileBytes(const fs::path& file, std::error_code* error) {
    auto fail = [&](std::error_code ec) -> std::optional<std::string> {
        if (error) {
            *error = ec;
        }
        return std::nullopt;
    };
    // One open, one fstat, one read. The open must not wait: a pipe would hold it until a
    // writer came. The fstat then refuses pipes and devices, which could keep the reader
    // waiting for ever, or never end.
    errno = 0;
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        // A path through something that is not a folder names no file either.
        return fail(errno == ENOTDIR ? std::make_error_code(std::errc::no_such_file_or_directory)
                                     : lastSystemError());
    }
    const std::unique_ptr<const int, void (*)(const int*)> closer(
        &descriptor, [](const int* open) { ::close(*open); });
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) {
        return fail(lastSystemError());
    }
    if (S_ISDIR(info.st_mode)) {
        return fail(std::make_error_code(std::errc::is_a_directory));
    }
    if (!S_ISREG(info.st_mode)) {
        return fail(std::make_error_code(std::errc::operation_not_supported));
    }
    // A file that shrinks meanwhile gives what is left; one that reports no size (some
    // system files) is read to its end.
    std::string content(static_cast<std::size_t>(info.st_size), '\0');
    const bool toTheEnd = content.empty();
    std::size_t got = 0;
    for (;;) {
        if (got == content.size()) {
            if (!toTheEnd) {
                break;
            }
            content.resize(got + std::size_t{64} * 1024);
        }
        const ssize_t n = ::read(descriptor, content.data() + got, content.size() - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(lastSystemError());
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    content.resize(got);
    if (error) {
        error->clear();
    }
    return content;
}

std::optional<DecodedText> readDecodedText(const fs::path& file) {
    std::optional<std::string> bytes = readFileBytes(file);
    if (!bytes) {
        return std::nullopt;
    }
    return decode(std::move(*bytes));
}

Outcome writeTextFile(const fs::path& file, std::string_view utf8, Encoding preferred,
                      bool byteOrderMark, Encoding* used) {
    return writeFileAtomically(file, encode(utf8, preferred, byteOrderMark, used));
}

StreamedFile::StreamedFile(fs::path target) : target_(std::move(target)) {}

StreamedFile::~StreamedFile() {
    discard();
}

void StreamedFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    pending_.clear();
}

Outcome StreamedFile::fail(const std::error_code& reason) {
    discard();
    return writeFailure(target_, reason);
}

Outcome StreamedFile::open() {
    discard();
    const fs::path folder = folderOf(target_);
    if (std::error_code error = checkFolder(folder)) {
        return writeFailure(target_, error);
    }
    for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
        temp_ = folder / temporaryName();
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) {
            const std::error_code error = systemError(errno);
            temp_.clear();
            return writeFailure(target_, error);
        }
    }
    if (fd_ < 0) {
        temp_.clear();
        return writeFailure(target_, std::make_error_code(std::errc::file_exists));
    }
    return Outcome::success();
}

std::error_code StreamedFile::drain() {
    std::error_code error = writeAll(fd_, pending_);
    pending_.clear();
    return error;
}

Outcome StreamedFile::append(std::string_view bytes) {
    if (fd_ < 0) {
        return writeFailure(target_, std::make_error_code(std::errc::bad_file_descriptor));
    }
    pending_ += bytes;
    if (pending_.size() >= (std::size_t{1} << 16)) {
        if (std::error_code error = drain()) {
            return fail(error);
        }
    }
    return Outcome::success();
}

Outcome StreamedFile::commit(bool replace) {
    if (fd_ < 0) {
        return writeFailure(target_, std::make_error_code(std::errc::bad_file_descriptor));
    }
    if (std::error_code error = drain()) {
        return fail(error);
    }
    // On the disk before the rename, as every save is.
    if (::fsync(fd_) != 0 && errno != EINVAL) {
        return fail(systemError(errno));
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        return fail(systemError(errno));
    }
    std::error_code error;
    if (replace) {
        std::error_code ec;
        error = replaceable(fs::status(target_, ec));
        if (!error) {
            fs::rename(temp_, target_, error);
            syncFolder(folderOf(target_));
        }
    } else {
        error = fs::is_directory(target_) ? std::make_error_code(std::errc::is_a_directory)
                                          : renameWithoutReplacing(temp_, target_);
    }
    if (error) {
        return fail(error);
    }
    temp_.clear();
    return Outcome::success();
}

}  // namespace korvex::store
