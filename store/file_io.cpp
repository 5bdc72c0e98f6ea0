#include "store/file_io.h"

#include <atomic>
#include <cerrno>
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

// A name no other writer uses at the same moment: random bits from the system and a counter.
std::string tempName() {
    static std::atomic<unsigned> counter{0};
    std::random_device device;
    unsigned long long bits = (static_cast<unsigned long long>(device()) << 20) ^ counter++;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", bits);
    return std::string(kSaveTempPrefix) + hex;
}

struct FileCloser {
    void operator()(std::FILE* file) const {
        if (file) {
            std::fclose(file);
        }
    }
};

}  // namespace

std::string reasonText(const std::error_code& error) {
    return error.message();
}

Outcome writeFailure(const fs::path& file, const std::error_code& reason) {
    return Outcome::failure("Could not write \"" + file.string() + "\": " + reasonText(reason) +
                            ".");
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
    if (targetExists) {
        if (fs::is_directory(targetStatus)) {
            return std::make_error_code(std::errc::is_a_directory);
        }
        // The system would let the rename replace a read-only file; the user marked it so
        // on purpose, and a save must not undo that.
        if ((targetStatus.permissions() & fs::perms::owner_write) == fs::perms::none) {
            return std::make_error_code(std::errc::permission_denied);
        }
    }

    fs::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    const fs::file_status folderStatus = fs::status(folder, ec);
    if (!fs::exists(folderStatus)) {
        return std::make_error_code(std::errc::no_such_file_or_directory);
    }
    if (!fs::is_directory(folderStatus)) {
        return std::make_error_code(std::errc::not_a_directory);
    }

    fs::path temp;
    std::FILE* raw = nullptr;
    for (int attempt = 0; attempt < 16 && raw == nullptr; ++attempt) {
        temp = folder / tempName();
        errno = 0;
        raw = std::fopen(temp.c_str(), "wbx");  // "x": never take over a file that exists
        if (raw == nullptr && errno != EEXIST) {
            return lastSystemError();
        }
    }
    if (raw == nullptr) {
        return std::make_error_code(std::errc::file_exists);
    }

    std::error_code writeError;
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), raw) != bytes.size()) {
        writeError = lastSystemError();
    } else if (std::fflush(raw) != 0) {
        writeError = lastSystemError();
    }
    // fclose reports what a delayed write found (a full disk, say).
    errno = 0;
    if (std::fclose(raw) != 0 && !writeError) {
        writeError = lastSystemError();
    }
    if (!writeError && targetExists) {
        fs::permissions(temp, targetStatus.permissions(), fs::perm_options::replace, ec);
    }
    if (!writeError) {
        fs::rename(temp, target, writeError);
    }
    if (writeError) {
        fs::remove(temp, ec);
    }
    return writeError;
}

std::optional<std::string> readFileBytes(const fs::path& file, std::error_code* error) {
    auto fail = [&](std::error_code ec) -> std::optional<std::string> {
        if (error) {
            *error = ec;
        }
        return std::nullopt;
    };
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (!fs::exists(status)) {
        return fail(std::make_error_code(std::errc::no_such_file_or_directory));
    }
    if (fs::is_directory(status)) {
        return fail(std::make_error_code(std::errc::is_a_directory));
    }
    // A pipe or a device could keep the reader waiting for ever, or never end.
    if (!fs::is_regular_file(status)) {
        return fail(std::make_error_code(std::errc::operation_not_supported));
    }
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> in(std::fopen(file.c_str(), "rb"));
    if (!in) {
        return fail(lastSystemError());
    }
    std::string content;
    if (const auto size = fs::file_size(file, ec); !ec) {
        content.reserve(static_cast<std::size_t>(size));
    }
    char buffer[64 * 1024];
    for (;;) {
        std::size_t got = std::fread(buffer, 1, sizeof buffer, in.get());
        content.append(buffer, got);
        if (got < sizeof buffer) {
            break;
        }
    }
    if (std::ferror(in.get())) {
        return fail(lastSystemError());
    }
    if (error) {
        error->clear();
    }
    return content;
}

std::optional<DecodedText> readTextFile(const fs::path& file) {
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

}  // namespace korvex::store
