#include "plan/formula.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "base/leading_number.h"
#include "base/text.h"
#include "plan/value_rounding.h"

namespace plan {
namespace {

static_assert(std::endian::native == std::endian::little,
              "digit words are stored with their first digit in the low byte");

using base::IsDigit;

// What a formula character stands for: its class indexes a small per-draw
// table. Classes 0-9 are the decimal digits, 10-14 the letters A-E, 15 the
// rest; the table holds a digit or kSkip for each class.
constexpr std::uint8_t kSkip = 0xFF;
using ClassDigits = std::array<std::uint8_t, 16>;
constexpr std::uint8_t kOtherClass = 15;
constexpr std::array<std::uint8_t, 256> kCharClass = [] {
  std::array<std::uint8_t, 256> classes{};
  for (auto& c : classes) c = kOtherClass;
  for (int c = '0'; c <= '9'; ++c)
    classes[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c - '0');
  for (int c = 'A'; c <= 'E'; ++c)
    classes[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(10 + c - 'A');
  return classes;
}();
constexpr ClassDigits kNoDrawDigits = {0, 1, 2,     3,     4,     5,     6,     7,
                                       8, 9, kSkip, kSkip, kSkip, kSkip, kSkip, kSkip};

// The base draw as the formula sees it: the digit of each letter (kSkip where
// the draw has none) and N2, the number the draw text denotes.
struct BaseDraw {
  ClassDigits digits = kNoDrawDigits;
  bool fiveDigits = false;
  std::uint32_t fiveDigitNumber = 0;  // N2 of five digits, kept an integer
  double otherNumber = 0;             // N2 of any other text

  double Number() const { return fiveDigits ? fiveDigitNumber : otherNumber; }
};

// Any draw text but five digits: atof reads N2, only digit characters stand
// for letters.
[[gnu::noinline]] void ReadUnusualDraw(std::string_view drawDigits, BaseDraw& draw) {
  draw.otherNumber = base::LeadingNumber(drawDigits);
  if (drawDigits.size() != 5) return;
  for (std::size_t i = 0; i < 5; ++i) {
    if (IsDigit(drawDigits[i]))
      draw.digits[10 + i] = static_cast<std::uint8_t>(drawDigits[i] - '0');
  }
}

// Characters in a word, the first in the low byte, are all digits when every
// high nibble is 3 and adding 6 keeps it so; a carry out of a byte only
// follows a byte that already failed.
template <typename Word>
bool AllDigits(Word characters) {
  constexpr Word kEveryByte = static_cast<Word>(~Word{0}) / 0xFF;  // 0x0101...
  constexpr Word kHigh = kEveryByte * 0xF0;
  return ((characters & kHigh) | (((characters + kEveryByte * 0x06) & kHigh) >> 4)) ==
         kEveryByte * 0x33;
}

// Five digit characters, read at once; false for any other text.
bool ReadFiveDigits(std::string_view drawDigits, BaseDraw& draw) {
  if (drawDigits.size() != 5) return false;
  // The first four characters as one word, the first in the low byte.
  std::uint32_t head;
  std::memcpy(&head, drawDigits.data(), 4);
  unsigned last = static_cast<unsigned char>(drawDigits[4]) - unsigned{'0'};
  if (!AllDigits(head) || last > 9) return false;
  std::uint32_t values = head - 0x3030'3030U;
  std::memcpy(&draw.digits[10], &values, 4);
  draw.digits[14] = static_cast<std::uint8_t>(last);
  // Neighbouring digits joined into two-digit lanes, then the lanes joined;
  // five digits read as one integer are exactly what atof reads.
  std::uint32_t pairs = ((values * 10) + (values >> 8)) & 0x00FF'00FFU;
  draw.fiveDigitNumber = ((pairs & 0xFF) * 100 + (pairs >> 16)) * 10 + last;
  draw.fiveDigits = true;
  return true;
}

BaseDraw ReadBaseDraw(std::string_view drawDigits) {
  BaseDraw draw;
  if (!ReadFiveDigits(drawDigits, draw)) [[unlikely]]
    ReadUnusualDraw(drawDigits, draw);
  return draw;
}

// M beyond 19 digits: strtod rounds the digit text.
[[gnu::noinline]] double LongFormulaNumber(const ClassDigits& digits, std::string_view formula) {
  std::string text;
  for (char c : formula) {
    std::uint8_t digit = digits[kCharClass[static_cast<unsigned char>(c)]];
    if (digit != kSkip) text.push_back(static_cast<char>('0' + digit));
  }
  return std::strtod(text.c_str(), nullptr);
}

// M, the number the formula's digits denote once its letters are replaced,
// as an integer while it has at most 19 digits (below 10^19 < 2^64).
struct FormulaNumber {
  std::uint64_t value = 0;
  bool fits = true;
};

[[gnu::noinline]] int DigitCount(const ClassDigits& digits, std::string_view formula) {
  int count = 0;
  for (char c : formula) count += digits[kCharClass[static_cast<unsigned char>(c)]] != kSkip;
  return count;
}

// The number eight digit characters denote, the first in the low byte:
// neighbours are joined into 2-, 4- and 8-digit lanes, none of which can
// overflow into the next.
std::uint64_t EightDigitNumber(std::uint64_t characters) {
  std::uint64_t digits = characters - 0x3030'3030'3030'3030ULL;
  std::uint64_t twos = (digits * 10 + (digits >> 8)) & 0x00FF'00FF'00FF'00FFULL;
  std::uint64_t fours = (twos * 100 + (twos >> 16)) & 0x0000'FFFF'0000'FFFFULL;
  return (fours & 0xFFFF'FFFF) * 10000 + (fours >> 32);
}

// The first count (0 to 8) of eight characters, moved behind leading '0's.
std::uint64_t FirstCharacters(std::uint64_t characters, std::size_t count) {
  constexpr std::uint64_t kZeros = 0x3030'3030'3030'3030ULL;
  if (count == 0) return kZeros;
  if (count == 8) return characters;
  auto shift = 8 * (8 - count);
  return characters << shift | kZeros >> (64 - shift);
}

// A formula of 8 to 16 digit characters (the value digits of a first
// evaluation as the formula of a second) read eight at a time; false for any
// other formula.
bool ReadDigitFormula(std::string_view formula, std::uint64_t& number) {
  std::size_t size = formula.size();
  if (size < 8 || size > 16) return false;
  // The first and the last eight characters; they overlap below 16.
  std::uint64_t head;
  std::uint64_t tail;
  std::memcpy(&head, formula.data(), 8);
  std::memcpy(&tail, formula.data() + size - 8, 8);
  if (!AllDigits(head) || !AllDigits(tail)) return false;
  number = EightDigitNumber(FirstCharacters(head, size - 8)) * 100'000'000 + EightDigitNumber(tail);
  return true;
}

FormulaNumber ReadFormulaNumber(const ClassDigits& digits, std::string_view formula) {
  FormulaNumber number;
  if (ReadDigitFormula(formula, number.value)) return number;
  for (char c : formula) {
    std::uint8_t digit = digits[kCharClass[static_cast<unsigned char>(c)]];
    if (digit == kSkip) continue;
    number.value = number.value * 10 + digit;
  }
  // Only a formula longer than 19 characters can have more digits, which
  // wrapped around.
  number.fits = formula.size() <= 19 || DigitCount(digits, formula) <= 19;
  return number;
}

// The eight decimal digits of value < 10^8 as characters, the first in the
// low byte. Each step splits every lane in two halves at once; the
// multiply-shift pairs are exact quotients for the lane ranges they meet
// (x * 10486 >> 20 is x / 100 for x < 10^4, x * 103 >> 10 is x / 10 for x < 100).
std::uint64_t EightDigits(std::uint32_t value) {
  std::uint64_t fours = value / 10000 | std::uint64_t{value % 10000} << 32;
  std::uint64_t hundreds = ((fours * 10486) >> 20) & 0x0000'007F'0000'007FULL;
  std::uint64_t twos = (fours - hundreds * 100) << 16 | hundreds;
  std::uint64_t tens = ((twos * 103) >> 10) & 0x000F'000F'000F'000FULL;
  std::uint64_t ones = (twos - tens * 10) << 8 | tens;
  return ones + 0x3030'3030'3030'3030ULL;
}

// Sixteen characters in one integer, the first in the low byte.
__extension__ using Characters16 = unsigned __int128;

// value < 10^16 as sixteen characters with leading zeros.
Characters16 SixteenDigits(std::uint64_t value) {
  return EightDigits(static_cast<std::uint32_t>(value / 100'000'000)) |
         Characters16{EightDigits(static_cast<std::uint32_t>(value % 100'000'000))} << 64;
}

// The last length characters, moved to the front.
Characters16 LastCharacters(Characters16 characters, int length) {
  return characters >> (8 * (16 - length));
}

// A value text of at most sixteen characters, kept in registers: a copy
// through memory would read back bytes written a moment before in smaller
// pieces, which stalls.
struct ValueText {
  Characters16 characters = 0;
  int size = 0;

  Digits ToDigits() const {
    return Digits::Written([this](char* text) {
      std::memcpy(text, &characters, 16);
      return static_cast<std::size_t>(size);
    });
  }
};

// The digits of "%.13g" for an integral value below 2^64, rounded to 13
// significant digits half to even exactly as printf rounds the exact binary
// value, with the exponent written in three digits.
ValueText IntegerValueText(std::uint64_t value) {
  int length = DecimalLength(value);
  if (length <= 13) return {LastCharacters(SixteenDigits(value), length), length};
  int exponent = length - 1;
  std::uint64_t scale = kPowersOfTen[static_cast<std::size_t>(length - 13)];
  std::uint64_t mantissa = DividedByPowerOfTen(value, length - 13);
  mantissa = RoundMantissaHalfEven(mantissa, value - mantissa * scale, scale, exponent);
  int mantissaLength = 13;
  while (mantissa % 10 == 0) {
    mantissa /= 10;
    --mantissaLength;
  }
  // Exponents here are 13 to 19, written 013 to 019.
  std::uint32_t exponentText = '0' | '1' << 8 | ('0' + exponent - 10) << 16;
  Characters16 text = LastCharacters(SixteenDigits(mantissa), mantissaLength) |
                      Characters16{exponentText} << (8 * mantissaLength);
  return {text, mantissaLength + 3};
}

// Any other value goes through printf itself; only the exponent width differs.
[[gnu::noinline]] ValueText PrintedValueText(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.13g", value);
  std::string_view printed(text);
  Digits digits;
  auto e = printed.find_first_of("eE");
  for (char c : printed.substr(0, e)) {
    if (IsDigit(c)) digits.push_back(c);
  }
  if (e != std::string_view::npos) {
    std::string exponent;
    for (char c : printed.substr(e)) {
      if (IsDigit(c)) exponent.push_back(c);
    }
    for (std::size_t i = exponent.size(); i < 3; ++i) digits.push_back('0');
    for (char c : exponent) digits.push_back(c);
  }
  ValueText valueText{0, static_cast<int>(digits.size())};
  std::memcpy(&valueText.characters, digits.view().data(), digits.size());
  return valueText;
}

ValueText DoubleValueText(double value) {
  // An integral double below 2^64 converts to exactly its own value.
  if (value >= 0 && value < 18446744073709551616.0) {
    auto integral = static_cast<std::uint64_t>(value);
    if (static_cast<double>(integral) == value) return IntegerValueText(integral);
  }
  return PrintedValueText(value);
}

// The digits of V = M * N2 * 2, computed in double precision.
ValueText ComputeValueText(const BaseDraw& draw, std::string_view formula) {
  FormulaNumber m = ReadFormulaNumber(draw.digits, formula);
  if (m.fits && draw.fiveDigits) {
    // Integers below 2^53 are exact doubles and so is their product when it
    // stays below 2^53: then V is the integer product, doubled exactly.
    // M < 2^47 keeps the product with N2 < 2^17 from overflowing.
    std::uint64_t product = m.value * draw.fiveDigitNumber;
    if (m.value < (1ULL << 47) && product < (1ULL << 53)) return IntegerValueText(product * 2);
  }
  // Up to 19 digits the integer converts with the rounding strtod applies to
  // the digit text.
  double n1 = m.fits ? static_cast<double>(m.value) : LongFormulaNumber(draw.digits, formula);
  return DoubleValueText(n1 * draw.Number() * 2);
}

std::size_t WantedCount(int codeCount) {
  return codeCount < 0 ? 0 : static_cast<std::size_t>(codeCount);
}

// Adds c to the chosen digits unless seen, without branching on the (random)
// digit; at most ten are ever kept.
struct DistinctDigits {
  char* chosen;
  std::size_t size = 0;
  unsigned seen = 0;

  void Add(char c) {
    unsigned bit = 1u << (c - '0');
    chosen[size] = c;
    size += (seen & bit) == 0;
    seen |= bit;
  }

  // Completes the digits from the fill sequence of the last one.
  void Fill(std::size_t wanted) {
    auto last = size == 0 ? 0 : static_cast<std::size_t>(chosen[size - 1] - '0');
    for (char c : kFillSequences[last]) {
      if (size >= wanted) break;
      Add(c);
    }
  }
};

// The first codeCount distinct digits of the value text, completed from the
// fill sequence of the last one when there are fewer.
Digits Prediction(const ValueText& value, int codeCount) {
  std::size_t wanted = WantedCount(codeCount);
  // Written in place: bytes gathered in a buffer and then copied out as a
  // whole would stall the copy.
  return Digits::Written([&](char* chosen) {
    DistinctDigits digits{chosen};
    char text[16];
    std::memcpy(text, &value.characters, 16);
    // Digits past the wanted count would be cut anyway.
    for (int i = 0; i < value.size && digits.size < wanted; ++i) digits.Add(text[i]);
    if (digits.size < wanted) digits.Fill(wanted);
    return digits.size;
  });
}

#if defined(__x86_64__)
#define LANZHOU_PREDICTION_ISA "avx512f,avx512bw,avx512vl,avx512cd,avx512vbmi2"

// GCC 12's AVX-512 intrinsics start from _mm512_undefined_*(), which its
// warning takes for a read of an uninitialized value.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

// Prediction with all sixteen characters at once and no branch on the
// digits: a character is a first occurrence when no earlier lane conflicts
// with it, and compressing keeps those in order.
[[gnu::target(LANZHOU_PREDICTION_ISA)]] Digits PredictionAvx512(const ValueText& value,
                                                                int codeCount) {
  std::size_t wanted = WantedCount(codeCount);
  return Digits::Written([&](char* chosen) __attribute__((target(LANZHOU_PREDICTION_ISA))) {
    __m128i text;
    std::memcpy(&text, &value.characters, 16);
    // Past the text the bytes are zero; only digit characters count, which
    // leaves out an empty text ("inf" has no digit) too.
    const __mmask16 inText = _mm_test_epi8_mask(text, text);
    const __m512i lanes = _mm512_cvtepu8_epi32(text);
    const __m512i earlier = _mm512_conflict_epi32(lanes);
    const __mmask16 firsts = _mm512_mask_testn_epi32_mask(inText, earlier, earlier);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(chosen), _mm_maskz_compress_epi8(firsts, text));
    const auto distinct = static_cast<std::size_t>(std::popcount(_cvtmask16_u32(firsts)));
    if (distinct >= wanted) return wanted;
    DistinctDigits digits{chosen, distinct};
    for (std::size_t i = 0; i < distinct; ++i) digits.seen |= 1u << (chosen[i] - '0');
    digits.Fill(wanted);
    return digits.size;
  });
}

[[gnu::target(LANZHOU_PREDICTION_ISA)]] Evaluation EvaluateAvx512(std::string_view drawDigits,
                                                                  int codeCount,
                                                                  std::string_view formula) {
  ValueText value = ComputeValueText(ReadBaseDraw(drawDigits), formula);
  return {PredictionAvx512(value, codeCount), value.ToDigits()};
}

#pragma GCC diagnostic pop
#undef LANZHOU_PREDICTION_ISA

bool PredictsWithAvx512() {
  static const bool supported =
      __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
      __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512cd") &&
      __builtin_cpu_supports("avx512vbmi2");
  return supported;
}
#endif

}  // namespace

Evaluation EvaluateFormulaPortably(std::string_view drawDigits, int codeCount,
                                   std::string_view formula) {
  ValueText value = ComputeValueText(ReadBaseDraw(drawDigits), formula);
  // Initialised, not assigned: each member is built where it stays.
  return {Prediction(value, codeCount), value.ToDigits()};
}

Evaluation EvaluateFormula(std::string_view drawDigits, int codeCount, std::string_view formula) {
#if defined(__x86_64__)
  if (PredictsWithAvx512()) return EvaluateAvx512(drawDigits, codeCount, formula);
#endif
  return EvaluateFormulaPortably(drawDigits, codeCount, formula);
}

std::string_view CompanionFormula(std::string_view prediction) {
  int number = !prediction.empty() && IsDigit(prediction[0]) ? prediction[0] - '0' : 0;
  return kCompanionFormulas[number == 0 ? 0 : number - 1];
}

std::string SortDigits(std::string_view prediction) {
  if (prediction.size() <= 16) {
    // Ten five-bit counters in one word: predictions are short.
    std::uint64_t counts = 0;
    for (char c : prediction) counts += 1ULL << (5 * (IsDigit(c) ? c - '0' : 0));
    char sorted[16];
    std::size_t at = 0;
    for (int d = 0; counts != 0; ++d, counts >>= 5) {
      for (auto k = counts & 31; k != 0; --k) sorted[at++] = static_cast<char>('0' + d);
    }
    return std::string(sorted, at);
  }
  std::array<std::size_t, 10> counts{};
  for (char c : prediction) ++counts[IsDigit(c) ? c - '0' : 0];
  std::string sorted;
  sorted.reserve(prediction.size());
  for (int d = 0; d < 10; ++d) sorted.append(counts[d], static_cast<char>('0' + d));
  return sorted;
}

}  // namespace plan
