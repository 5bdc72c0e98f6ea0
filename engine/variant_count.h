#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace korvex::engine {

/// The number of different texts a script can give: the product of the blocks' alternative
/// counts. Exact at any size (50,000 blocks of 4 alternatives give a number of 30,103 digits);
/// the product is formed when first asked for, so a generation never pays for it.
class VariantCount {
public:
    VariantCount() = default;  ///< 1: a script without blocks
    /// Multiplies by `factor`; 0 counts as 1. (A block's alternatives are lines of the working
    /// file, so their number always fits 32 bits.)
    void multiplyBy(std::uint32_t factor);
    /// Back to 1, keeping the memory for the next count.
    void reset() {
        factors_.clear();
        decimal_.clear();
    }

    /// Exact decimal digits, without leading zeros.
    const std::string& decimal() const;
    std::size_t digitCount() const { return decimal().size(); }
    /// Scientific notation with `significant` digits, rounded: "1.23e+30102".
    std::string scientific(int significant = 3) const;

private:
    std::vector<std::uint32_t> factors_;  // the factors above 1, in order
    mutable std::string decimal_;         // formed on first use
};

}  // namespace korvex::engine
