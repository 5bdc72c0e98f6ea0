#pragma once
// A set of texts that does not hold the texts: each is kept as its 64-bit hash and a number
// the caller can turn back into the text, so equal hashes are settled by an exact comparison.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace korvex::engine {

class TextSet {
public:
    static std::uint64_t hash(std::string_view text) { return std::hash<std::string_view>{}(text); }

    /// Adds the text of hash `hash`, kept as `id`, unless an equal one is there. `same(other)`
    /// answers whether the text kept as `other` equals the new one; it is asked only when the
    /// hashes are equal. Returns true when the text was added.
    template <typename Same>
    bool insert(std::uint64_t hash, std::uint64_t id, Same&& same) {
        if ((size_ + 1) * 2 > entries_.size()) {
            grow();
        }
        const std::size_t mask = entries_.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            Entry& entry = entries_[at];
            if (entry.id == kEmpty) {
                entry = {hash, id};
                ++size_;
                return true;
            }
            if (entry.hash == hash && same(entry.id)) {
                return false;
            }
        }
    }

    /// The id of the text of hash `hash` for which `same(id)` holds; nothing when none is there.
    template <typename Same>
    std::optional<std::uint64_t> find(std::uint64_t hash, Same&& same) const {
        if (entries_.empty()) {
            return std::nullopt;
        }
        const std::size_t mask = entries_.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            const Entry& entry = entries_[at];
            if (entry.id == kEmpty) {
                return std::nullopt;
            }
            if (entry.hash == hash && same(entry.id)) {
                return entry.id;
            }
        }
    }

    std::size_t size() const { return size_; }
    /// Bytes held: 16 a slot, with at most four slots a text.
    std::size_t memoryBytes() const { return entries_.capacity() * sizeof(Entry); }

private:
    struct Entry {
        std::uint64_t hash = 0;
        std::uint64_t id = kEmpty;
    };
    static constexpr std::uint64_t kEmpty = std::numeric_limits<std::uint64_t>::max();

    void grow() {
        std::vector<Entry> old(entries_.empty() ? 16 : entries_.size() * 2);
        old.swap(entries_);
        const std::size_t mask = entries_.size() - 1;
        for (const Entry& entry : old) {
            if (entry.id == kEmpty) {
                continue;
            }
            std::size_t at = entry.hash & mask;
            while (entries_[at].id != kEmpty) {
                at = (at + 1) & mask;
            }
            entries_[at] = entry;
        }
    }

    std::vector<Entry> entries_;
    std::size_t size_ = 0;
};

}  // namespace korvex::engine
