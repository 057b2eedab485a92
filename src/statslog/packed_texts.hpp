// The texts of a record, kept back to back in one buffer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace statsstats {

// A record with a separate string per text would take more memory than the line it came from,
// and a whole log is held in memory. Here the texts share one buffer, inside the record when
// they fit (a log's usually do: a file name, a channel name, a few short words), else one
// allocation of their own: a log of 100,000 lines would otherwise make 100,000 small ones.
template <std::size_t Count, std::size_t InlineBytes>
class PackedTexts {
  public:
    PackedTexts() = default;
    PackedTexts(const PackedTexts& other) { copyFrom(other); }
    PackedTexts& operator=(const PackedTexts& other) {
        if (this != &other) copyFrom(other);
        return *this;
    }

    std::string_view operator[](std::size_t i) const {
        const std::uint32_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(data() + begin, ends_[i] - begin);
    }

    // Replaces all texts at once. Their total length must fit in 32 bits; the reader refuses
    // longer lines.
    void assign(const std::array<std::string_view, Count>& texts) {
        std::size_t total = 0;
        for (const std::string_view text : texts) total += text.size();
        char* const out = storage(total);
        std::size_t end = 0;
        for (std::size_t i = 0; i < Count; ++i) {
            if (!texts[i].empty()) std::memcpy(out + end, texts[i].data(), texts[i].size());
            end += texts[i].size();
            ends_[i] = static_cast<std::uint32_t>(end);
        }
    }

  private:
    const char* data() const { return outside_ ? outside_.get() : inside_; }

    // Room for `total` bytes: inside, or a new allocation.
    char* storage(std::size_t total) {
        if (total <= InlineBytes) {
            outside_.reset();
            return inside_;
        }
        outside_ = std::make_unique_for_overwrite<char[]>(total);
        return outside_.get();
    }

    void copyFrom(const PackedTexts& other) {
        const std::size_t total = other.ends_.back();
        char* const out = storage(total);
        if (total > 0) std::memcpy(out, other.data(), total);
        ends_ = other.ends_;
    }

    std::array<std::uint32_t, Count> ends_{};
    std::unique_ptr<char[]> outside_;
    char inside_[InlineBytes];  // left unset: only the first ends_.back() bytes are ever read
};

// Asks a record's constructor to leave its numbers unset, for a slot that a whole data line is
// about to fill: a log's records would otherwise be written twice.
struct ToBeFilled {};

}  // namespace statsstats
