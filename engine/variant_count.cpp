#include "engine/variant_count.h"

#include <cstdio>

namespace korvex::engine {
namespace {

constexpr std::uint64_t kLimbBase = 1'000'000'000;  // nine decimal digits a limb
// limb * multiplier + carry stays below 2^64 for any multiplier up to this.
constexpr std::uint64_t kMaxMultiplier = 18'000'000'000ULL;

void multiply(std::vector<std::uint32_t>& limbs, std::uint64_t multiplier) {
    std::uint64_t carry = 0;
    for (auto& limb : limbs) {
        const std::uint64_t product = limb * multiplier + carry;
        limb = static_cast<std::uint32_t>(product % kLimbBase);
        carry = product / kLimbBase;
    }
    while (carry != 0) {
        limbs.push_back(static_cast<std::uint32_t>(carry % kLimbBase));
        carry /= kLimbBase;
    }
}

}  // namespace

void VariantCount::multiplyBy(std::uint32_t factor) {
    if (factor > 1) {
        factors_.push_back(factor);
        decimal_.clear();
    }
}

const std::string& VariantCount::decimal() const {
    if (!decimal_.empty()) {
        return decimal_;
    }
    // Gather small factors into one machine word before each pass over the big number.
    std::vector<std::uint32_t> limbs{1};
    std::uint64_t pending = 1;
    for (std::uint32_t factor : factors_) {
        if (pending > kMaxMultiplier / factor) {
            multiply(limbs, pending);
            pending = 1;
        }
        pending *= factor;
    }
    multiply(limbs, pending);

    char chunk[16];
    std::snprintf(chunk, sizeof chunk, "%u", limbs.back());
    decimal_ = chunk;
    decimal_.reserve(limbs.size() * 9);
    for (auto it = limbs.rbegin() + 1; it != limbs.rend(); ++it) {
        std::snprintf(chunk, sizeof chunk, "%09u", *it);
        decimal_ += chunk;
    }
    return decimal_;
}

std::string VariantCount::scientific(int significant) const {
    const std::string& digits = decimal();
    if (significant < 1) {
        significant = 1;
    }
    std::string mantissa = digits.substr(0, static_cast<std::size_t>(significant));
    mantissa.resize(static_cast<std::size_t>(significant), '0');
    std::size_t exponent = digits.size() - 1;
    if (digits.size() > mantissa.size() && digits[mantissa.size()] >= '5') {
        // Round half up, carrying through nines: 9.995e+5 becomes 1.00e+6.
        std::size_t k = mantissa.size();
        while (k > 0 && mantissa[k - 1] == '9') {
            mantissa[--k] = '0';
        }
        if (k == 0) {
            mantissa.insert(mantissa.begin(), '1');
            mantissa.pop_back();
            ++exponent;
        } else {
            ++mantissa[k - 1];
        }
    }
    std::string text(1, mantissa[0]);
    if (mantissa.size() > 1) {
        text += '.';
        text.append(mantissa, 1);
    }
    return text + "e+" + std::to_string(exponent);
}

}  // namespace korvex::engine
