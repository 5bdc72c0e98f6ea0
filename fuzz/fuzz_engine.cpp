// libFuzzer target: any script, with any included file, must generate without crashing,
// hanging or growing without bound. The input is split at the first NUL byte into the script
// and the content of the file its `\inc\` lines name; a second NUL separates a jump target.

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "engine/generate.h"

namespace {

class FuzzHost : public korvex::engine::Host {
public:
    void showMessage(std::string_view) override {}
    std::optional<std::string> askInput(std::string_view prompt) override {
        // Answer with the prompt itself, or Cancel every third time.
        if (++asked_ % 3 == 0) {
            return std::nullopt;
        }
        return std::string(prompt);
    }
    std::string dateText() override { return "\\time\\ 2026-12-07"; }
    std::string timeText() override { return "12:00:00 \\date\\"; }

private:
    int asked_ = 0;
};

const std::filesystem::path& folder() {
    static const std::filesystem::path path = [] {
        auto p =
            std::filesystem::temp_directory_path() / ("korvex-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p / "Projects");
        std::filesystem::create_directories(p / "Temp");
        return p;
    }();
    return path;
}

void write(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto firstNul = input.find('\0');
    const std::string_view script = input.substr(0, firstNul);
    std::string_view included;
    std::string_view jumped;
    if (firstNul != std::string_view::npos) {
        const auto rest = input.substr(firstNul + 1);
        const auto secondNul = rest.find('\0');
        included = rest.substr(0, secondNul);
        if (secondNul != std::string_view::npos) {
            jumped = rest.substr(secondNul + 1);
        }
    }
    const auto& app = folder();
    write(app / "Projects" / "main.ini", script);
    write(app / "Projects" / "x.ini", jumped);
    write(app / "x", included);
    write(app / "Projects" / "x", included);

    korvex::engine::Options options;
    options.appFolder = app;
    options.maxJumps = 50;
    options.maxTextBytes = 1 << 20;
    FuzzHost host;
    korvex::engine::Random random(size);
    const auto result = korvex::engine::generate("Projects\\main", options, host, random);
    if (result.text.size() > options.maxTextBytes) {
        __builtin_trap();  // the limit must hold
    }
    (void)result.variantCount.digitCount();

    // One generator for every input, as korvex-gen keeps one for all its texts: whatever it
    // generated before, it must give what a fresh generation gives.
    static FuzzHost reusedHost;
    static korvex::engine::Random reusedRandom(0);
    static korvex::engine::Generator generator(options, reusedHost, reusedRandom);
    reusedHost = FuzzHost{};
    reusedRandom = korvex::engine::Random(size);
    const auto& reused = generator.generate("Projects\\main");
    if (reused.text != result.text || reused.warnings != result.warnings ||
        reused.record.workingFile() != result.record.workingFile()) {
        __builtin_trap();
    }
    return 0;
}
