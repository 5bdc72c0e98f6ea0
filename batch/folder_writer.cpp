#include "batch/folder_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "store/file_io.h"

namespace korvex::batch {

namespace fs = std::filesystem;

namespace {

std::error_code systemError(int code) {
    return std::error_code(code, std::generic_category());
}

// Whether a file may be put in the place of the one described by `info`, as a single save
// decides it: never over a folder, a pipe or a device, nor over a file its owner marked
// read-only.
int replaceRefusal(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) {
        return EISDIR;
    }
    if (!S_ISREG(info.st_mode)) {
        return EOPNOTSUPP;
    }
    return (info.st_mode & S_IWUSR) == 0 ? EACCES : 0;
}

}  // namespace

FolderWriter::FolderWriter(fs::path folder, FolderWriterOptions options)
    : folder_(std::move(folder)), options_(options), linking_(options.byLinking) {}

FolderWriter::~FolderWriter() {
    discard(0);
    if (folderFd_ >= 0) {
        ::close(folderFd_);
    }
}

FolderWriter::Failure FolderWriter::failure(int code, std::string_view name) const {
    return {systemError(code), name.empty() ? folder_ : folder_ / name};
}

FolderWriter::Failure FolderWriter::open() {
    std::error_code error;
    fs::create_directories(folder_, error);
    if (error) {
        return {error, folder_};
    }
    folderFd_ = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return folderFd_ < 0 ? failure(errno, {}) : Failure{};
}

FolderWriter::Failure FolderWriter::add(std::string_view nameView, std::string_view bytes) {
    const std::string name(nameView);
    // Every failure of this file comes after the files before it have had their chance.
    auto fail = [&](int code) {
        const Failure before = flush();
        return before ? before : failure(code, name);
    };
    int mode = -1;
    if (options_.replace) {
        struct stat info {};
        if (::fstatat(folderFd_, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
            if (S_ISLNK(info.st_mode)) {
                // A link is followed, as a single export follows it: the file it points to
                // gets the text, written the careful way on its own.
                if (Failure before = flush()) {
                    return before;
                }
                if (const std::error_code error =
                        store::replaceFileContent(folder_ / name, bytes)) {
                    return {error, folder_ / name};
                }
                ++placed_;
                return {};
            }
            if (const int refusal = replaceRefusal(info)) {
                return fail(refusal);
            }
            mode = static_cast<int>(info.st_mode & 07777);
        } else if (errno != ENOENT) {
            return fail(errno);
        }
    }
    Pending file{-1, {}, name};
    for (int attempt = 0; attempt < 16 && file.fd < 0; ++attempt) {
        file.temp = store::temporaryName();
        // O_EXCL: never take over a file that exists.
        file.fd =
            ::openat(folderFd_, file.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file.fd < 0 && errno != EEXIST) {
            return fail(errno);
        }
    }
    if (file.fd < 0) {
        return fail(EEXIST);
    }
    std::error_code error = store::writeAll(file.fd, bytes);
    if (!error && mode >= 0) {
        // Best effort: the replaced file's mode, as a save keeps it.
        (void)::fchmod(file.fd, static_cast<mode_t>(mode));
    }
    if (error) {
        ::close(file.fd);
        ::unlinkat(folderFd_, file.temp.c_str(), 0);
        return fail(error.value());
    }
    pending_.push_back(std::move(file));
    pendingBytes_ += bytes.size();
    if (pending_.size() >= options_.chunkFiles || pendingBytes_ >= options_.chunkBytes) {
        return flush();
    }
    return {};
}

std::error_code FolderWriter::putInPlace(const Pending& file) {
    const char* from = file.temp.c_str();
    const char* to = file.name.c_str();
    if (options_.replace) {
        return ::renameat(folderFd_, from, folderFd_, to) == 0 ? std::error_code()
                                                               : systemError(errno);
    }
    if (!linking_) {
        if (::renameat2(folderFd_, from, folderFd_, to, RENAME_NOREPLACE) == 0) {
            return {};
        }
        // The kernel or the file system cannot promise to leave the target alone; a hard
        // link, which never replaces, can.
        if (errno != EINVAL && errno != ENOSYS) {
            return systemError(errno);
        }
        linking_ = true;
    }
    if (::linkat(folderFd_, from, folderFd_, to, 0) != 0) {
        return systemError(errno);
    }
    if (::unlinkat(folderFd_, from, 0) != 0) {
        const int code = errno;
        ::unlinkat(folderFd_, to, 0);  // undone: the file keeps its one temporary name
        return systemError(code);
    }
    return {};
}

FolderWriter::Failure FolderWriter::flush() {
    if (pending_.empty()) {
        return {};
    }
    std::size_t good = pending_.size();
    Failure first;
    // One sync writes the whole chunk out, where a sync a file would wait for the disk once
    // for every file.
    if (::syncfs(folderFd_) != 0) {
        const int code = errno;
        // Which file could not be written out: each one's own sync tells.
        for (std::size_t i = 0; i < pending_.size() && !first; ++i) {
            if (::fsync(pending_[i].fd) != 0 && errno != EINVAL) {
                good = i;
                first = failure(errno, pending_[i].name);
            }
        }
        if (!first) {
            good = 0;
            first = failure(code, {});
        }
    }
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        const int closed = ::close(pending_[i].fd);
        pending_[i].fd = -1;
        if (closed != 0 && errno != EINTR && i < good) {
            good = i;
            first = failure(errno, pending_[i].name);
        }
    }
    for (std::size_t i = 0; i < good; ++i) {
        if (const std::error_code error = putInPlace(pending_[i])) {
            good = i;
            first = {error, folder_ / pending_[i].name};
        }
    }
    discard(good);
    placed_ += good;
    // The new names on the disk too, once for the chunk. EINVAL: a file system that cannot
    // sync a folder, where there is nothing more to do.
    if (good > 0 && ::fsync(folderFd_) != 0 && errno != EINVAL && !first) {
        first = failure(errno, {});
    }
    pending_.clear();
    pendingBytes_ = 0;
    return first;
}

void FolderWriter::discard(std::size_t from) {
    for (std::size_t i = from; i < pending_.size(); ++i) {
        if (pending_[i].fd >= 0) {
            ::close(pending_[i].fd);
            pending_[i].fd = -1;
        }
        ::unlinkat(folderFd_, pending_[i].temp.c_str(), 0);
    }
}

}  // namespace korvex::batch
