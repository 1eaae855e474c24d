#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace plan {

// A short digit text kept inline, so evaluating a formula in the search and
// plan loops never allocates. Sixteen characters cover every value text
// ("%.13g" has 13 mantissa digits and a three-digit exponent).
class Digits {
 public:
  static constexpr std::size_t kCapacity = 16;

  Digits() = default;
  // Characters past the capacity are dropped.
  explicit Digits(std::string_view text)
      : size_(static_cast<std::uint8_t>(text.size() < kCapacity ? text.size() : kCapacity)) {
    std::memcpy(chars_.data(), text.data(), size_);
  }

  // Lets write put the characters in place and return their count, at most
  // kCapacity.
  template <typename Write>
  static Digits Written(Write write) {
    Digits digits;
    std::size_t size = write(digits.chars_.data());
    digits.size_ = static_cast<std::uint8_t>(size < kCapacity ? size : kCapacity);
    return digits;
  }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  char operator[](std::size_t i) const { return chars_[i]; }
  std::string_view view() const { return {chars_.data(), size_}; }
  std::string str() const { return std::string(view()); }
  operator std::string_view() const { return view(); }  // NOLINT: reads like a text

  // Extra characters past the capacity are dropped.
  void push_back(char c) {
    if (size_ < kCapacity) chars_[size_++] = c;
  }
  void resize(std::size_t size) { size_ = static_cast<std::uint8_t>(size < size_ ? size : size_); }
  // Two words and no call, where a library search would load more than the
  // store that wrote the digits a moment before and wait for it.
  bool contains(char c) const {
    static_assert(std::endian::native == std::endian::little, "the first digit is the low byte");
    constexpr std::uint64_t kOnes = 0x0101'0101'0101'0101ULL;
    constexpr std::uint64_t kHighs = 0x8080'8080'8080'8080ULL;
    const std::uint64_t pattern = kOnes * static_cast<unsigned char>(c);
    for (std::size_t start = 0; start < kCapacity; start += 8) {
      std::uint64_t word;
      std::memcpy(&word, chars_.data() + start, 8);
      const std::uint64_t differences = word ^ pattern;
      // The lowest flagged byte is the first equal one; only bytes above an
      // equal one can be flagged falsely.
      const std::uint64_t equal = (differences - kOnes) & ~differences & kHighs;
      if (equal != 0 && start + std::countr_zero(equal) / 8 < size_) return true;
    }
    return false;
  }

  bool operator==(const Digits& other) const { return view() == other.view(); }
  bool operator==(std::string_view other) const { return view() == other; }

 private:
  std::array<char, kCapacity> chars_{};
  std::uint8_t size_ = 0;
};

}  // namespace plan
