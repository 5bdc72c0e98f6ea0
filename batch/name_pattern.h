#pragma once
// The names of the files of a batch, made from a pattern such as "{script}-{n:05}.txt".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::batch {

inline constexpr std::string_view kDefaultNamePattern = "{script}-{n:05}.txt";

/// A file name pattern: `{n}` is the text's position counted from 1, `{n:0W}` the same with
/// zeros in front up to W digits, `{seed}` the text's own seed, `{script}` the script's name
/// without its extension; `{{` and `}}` stand for braces. The names never lead out of the
/// folder they are made for.
class NamePattern {
public:
    /// The pattern of `text`, or the reason it is refused in `problem`. `seedPerText`: every
    /// text has a seed of its own, so `{seed}` tells the texts apart.
    static std::optional<NamePattern> parse(std::string_view text, bool seedPerText,
                                            std::string& problem);

    /// The name of the text at `position` with `seed`, from script `script`; the script's
    /// name loses the characters a file name may not hold.
    std::string name(std::uint64_t position, std::uint64_t seed, std::string_view script) const;
    bool usesSeed() const;

private:
    struct Piece {
        enum class Kind { Literal, Position, Seed, Script } kind = Kind::Literal;
        std::string literal;
        unsigned width = 0;  ///< zeros in front up to this many digits
    };
    std::vector<Piece> pieces_;
};

}  // namespace korvex::batch
