#include "batch/name_pattern.h"

#include <charconv>

#include "store/project_name.h"

namespace korvex::batch {
namespace {

constexpr unsigned kMaxWidth = 20;  // the digits of the largest position

std::string padded(std::uint64_t value, unsigned width) {
    const std::string digits = std::to_string(value);
    return digits.size() < width ? std::string(width - digits.size(), '0') + digits : digits;
}

// "{field}"; built by appending, which GCC 12 does not mistake for overlapping copies.
std::string braced(std::string_view field) {
    std::string text;
    text.reserve(field.size() + 2);
    text.append("{").append(field).append("}");
    return text;
}

}  // namespace

std::optional<NamePattern> NamePattern::parse(std::string_view text, bool seedPerText,
                                              std::string& problem) {
    NamePattern pattern;
    bool tellsApart = false;
    auto literal = [&](char c) {
        if (pattern.pieces_.empty() || pattern.pieces_.back().kind != Piece::Kind::Literal) {
            pattern.pieces_.push_back({});
        }
        pattern.pieces_.back().literal += c;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c == '{' || c == '}') && i + 1 < text.size() && text[i + 1] == c) {
            literal(c);
            ++i;
            continue;
        }
        if (c == '}') {
            problem = "a \"}\" in the name pattern closes nothing (write \"}}\" for a brace)";
            return std::nullopt;
        }
        if (c != '{') {
            if (c == '/' || c == '\\' || c == '\0') {
                problem =
                    "the name pattern may not hold a folder separator: every file goes "
                    "straight into the folder";
                return std::nullopt;
            }
            literal(c);
            continue;
        }
        const auto close = text.find('}', i);
        if (close == std::string_view::npos) {
            problem = "a \"{\" in the name pattern is not closed (write \"{{\" for a brace)";
            return std::nullopt;
        }
        const std::string_view field = text.substr(i + 1, close - i - 1);
        Piece piece;
        if (field == "n") {
            piece.kind = Piece::Kind::Position;
        } else if (field.starts_with("n:0") && field.size() > 3) {
            piece.kind = Piece::Kind::Position;
            const auto digits = field.substr(3);
            const auto [end, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), piece.width);
            if (error != std::errc{} || end != digits.data() + digits.size() ||
                piece.width > kMaxWidth) {
                problem = braced(field) +
                          " in the name pattern: the width after \"n:0\" must be "
                          "a number up to 20";
                return std::nullopt;
            }
        } else if (field == "seed") {
            piece.kind = Piece::Kind::Seed;
        } else if (field == "script") {
            piece.kind = Piece::Kind::Script;
        } else {
            problem = "unknown field " + braced(field) +
                      " in the name pattern (there are {n}, {n:0W}, {seed} and {script})";
            return std::nullopt;
        }
        tellsApart = tellsApart || piece.kind == Piece::Kind::Position ||
                     (piece.kind == Piece::Kind::Seed && seedPerText);
        pattern.pieces_.push_back(std::move(piece));
        i = close;
    }
    if (text.find("..") != std::string_view::npos) {
        problem = "the name pattern may not hold \"..\"";
        return std::nullopt;
    }
    if (!tellsApart) {
        problem = seedPerText ? "the name pattern must hold {n} or {seed}, so every text gets a "
                                "file of its own"
                              : "the name pattern must hold {n}, so every text gets a file of "
                                "its own";
        return std::nullopt;
    }
    return pattern;
}

std::string NamePattern::name(std::uint64_t position, std::uint64_t seed,
                              std::string_view script) const {
    std::string out;
    for (const Piece& piece : pieces_) {
        switch (piece.kind) {
            case Piece::Kind::Literal:
                out += piece.literal;
                break;
            case Piece::Kind::Position:
                out += padded(position, piece.width);
                break;
            case Piece::Kind::Seed:
                out += std::to_string(seed);
                break;
            case Piece::Kind::Script:
                // A script's name can hold a backslash or dots; cleaned, and with no ".." left,
                // it stays inside the folder.
                std::string cleaned = store::cleanProjectName(script);
                for (std::size_t at; (at = cleaned.find("..")) != std::string::npos;) {
                    cleaned.erase(at, 1);
                }
                out += cleaned;
                break;
        }
    }
    return out;
}

bool NamePattern::usesSeed() const {
    for (const Piece& piece : pieces_) {
        if (piece.kind == Piece::Kind::Seed) {
            return true;
        }
    }
    return false;
}

}  // namespace korvex::batch
