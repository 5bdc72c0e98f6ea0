#pragma once
// Many new files in one folder, each whole or not at all, made durable a chunk at a time: the
// files of a chunk are written under temporary names, synced to disk together, renamed into
// place without replacing anything (unless asked to) and the folder synced once. A crash or a
// power cut before a chunk is done leaves none of its names on a part-written file; once
// flush() succeeds every file added so far is on the disk under its name.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace korvex::batch {

struct FolderWriterOptions {
    std::size_t chunkFiles = 256;  ///< files a chunk, each open until it is synced
    std::size_t chunkBytes = std::size_t{64} << 20;  ///< or this many bytes, whichever first
    bool replace = false;                            ///< replace files that exist
    /// Put files in place with a hard link and an unlink, as on a file system without a
    /// no-replace rename (for the tests of that way).
    bool byLinking = false;
};

class FolderWriter {
public:
    /// A failure: the system's reason, and the file it concerns (the folder itself for a
    /// failure of the folder).
    struct Failure {
        std::error_code error;
        std::filesystem::path file;
        explicit operator bool() const { return static_cast<bool>(error); }
    };

    FolderWriter(std::filesystem::path folder, FolderWriterOptions options);
    /// Files added since the last flush() are removed, never put in place.
    ~FolderWriter();
    FolderWriter(const FolderWriter&) = delete;
    FolderWriter& operator=(const FolderWriter&) = delete;

    /// Makes the folder when it is missing and opens it.
    Failure open();
    /// Writes `bytes` as the new file `name` (a plain name, no folder); it is in place after
    /// the chunk's flush, which runs when the chunk is full. A failure flushes the files added
    /// before and reports the first failure in the order the files came.
    Failure add(std::string_view name, std::string_view bytes);
    /// Syncs the chunk, puts its files in place in order and syncs the folder. After a failure
    /// the files before the failed one are in place and the others removed. A file that
    /// appeared under a name meanwhile fails with file_exists and is left alone.
    Failure flush();
    /// The files in place so far.
    std::size_t placed() const { return placed_; }

private:
    struct Pending {
        int fd;
        std::string temp;
        std::string name;
    };
    Failure failure(int code, std::string_view name) const;
    std::error_code putInPlace(const Pending& file);
    void discard(std::size_t from);

    std::filesystem::path folder_;
    FolderWriterOptions options_;
    int folderFd_ = -1;
    std::vector<Pending> pending_;
    std::size_t pendingBytes_ = 0;
    std::size_t placed_ = 0;
    bool linking_ = false;
};

}  // namespace korvex::batch
