#pragma once
// Files for tests: a fresh temporary folder, and whole-file reads and writes.

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace korvex::testing {

/// A fresh folder under the system's temporary folder, removed with everything in it at the
/// end of the test.
class TempFolder {
public:
    TempFolder() {
        static std::atomic<unsigned> counter{0};
        std::random_device device;
        path_ = std::filesystem::temp_directory_path() /
                ("korvex-test-" + std::to_string(device()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        // Read-only files left by a test must not keep the folder alive.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec)) {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        }
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    /// Writes `bytes` to `relative` below the folder, making folders on the way.
    std::filesystem::path write(const std::string& relative, std::string_view bytes) const {
        auto file = path_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

private:
    std::filesystem::path path_;
};

inline void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

/// The bytes of a file; empty when it cannot be read.
inline std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace korvex::testing
