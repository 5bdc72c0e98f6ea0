#include "golden_case.h"

#include <algorithm>
#include <sstream>

namespace korvex::testing {
namespace {

std::string replaceAllIn(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
        text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace

bool GoldenCase::accepts(const std::string& text) const {
    if (expected) {
        return text == *expected;
    }
    return std::find(oneOf.begin(), oneOf.end(), text) != oneOf.end();
}

std::vector<GoldenCase> loadGoldenCases(const std::filesystem::path& root) {
    std::vector<GoldenCase> cases;
    for (const auto& entry : std::filesystem::directory_iterator(root)) {
        GoldenCase c;
        c.folder = entry.path();
        c.name = entry.path().filename().string();
        if (std::filesystem::exists(c.folder / "expected.txt")) {
            c.expected = readBytes(c.folder / "expected.txt");
        }
        std::istringstream meta(readBytes(c.folder / "case.txt"));
        for (std::string line; std::getline(meta, line);) {
            const auto colon = line.find(": ");
            const std::string key = line.substr(0, colon);
            const std::string value = colon == std::string::npos ? "" : line.substr(colon + 2);
            if (key == "seed") {
                c.seed = std::stoull(value);
            } else if (key == "answer") {
                c.answers.push_back(value == "<cancel>" ? std::nullopt
                                                        : std::optional<std::string>(value));
            } else if (key == "prompt") {
                c.prompts.push_back(value);
            } else if (key == "message") {
                c.messages.push_back(value);
            } else if (key == "items") {
                c.items = value;
            } else if (key == "variants") {
                c.variants = value;
            } else if (key == "caption") {
                c.caption = value;
            } else if (key == "end") {
                c.end = true;
            } else if (key == "warning") {
                c.warning = true;
            } else if (key == "datetime") {
                c.dateTime = true;
            } else if (key == "oneof") {
                std::string rest = replaceAllIn(value, "{CRLF}", "\r\n");
                for (std::size_t start = 0;;) {
                    const auto bar = rest.find('|', start);
                    c.oneOf.push_back(rest.substr(start, bar - start));
                    if (bar == std::string::npos) {
                        break;
                    }
                    start = bar + 1;
                }
            }
        }
        cases.push_back(std::move(c));
    }
    std::sort(cases.begin(), cases.end(),
              [](const GoldenCase& a, const GoldenCase& b) { return a.name < b.name; });
    return cases;
}

CaseFolder::CaseFolder(const GoldenCase& goldenCase) {
    const auto& app = folder_.path();
    std::filesystem::create_directories(app / "Projects");
    std::filesystem::create_directories(app / "Temp");
    for (const auto& entry : std::filesystem::directory_iterator(goldenCase.folder)) {
        const auto name = entry.path().filename();
        if (name != "expected.txt" && name != "case.txt") {
            std::filesystem::copy_file(entry.path(), app / "Projects" / name);
        }
    }
}

}  // namespace korvex::testing
