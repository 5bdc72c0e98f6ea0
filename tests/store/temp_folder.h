#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it at the
// end of the test.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace korvex::store::testing {

class TempFolder {
public:
    TempFolder() {
        std::random_device device;
        path_ = std::filesystem::temp_directory_path() /
                ("korvex-store-test-" + std::to_string(device()) + std::to_string(device()));
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

private:
    std::filesystem::path path_;
};

inline void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

inline std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// The system's text for `error`, as the store's messages quote it.
inline std::string reason(std::errc error) {
    return std::make_error_code(error).message();
}

}  // namespace korvex::store::testing
