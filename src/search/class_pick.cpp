#include "search/class_pick.h"

#include <algorithm>
#include <bit>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "plan/formula.h"
#include "plan/value_rounding.h"
#include "search/value_text.h"

namespace search {
namespace {

__extension__ using Wide = unsigned __int128;

// The distinct digits of a four-digit text (leading zeros included) in order
// of first occurrence: their values a nibble each from bit 0, their count
// from bit 16, their mask from bit 20.
constexpr int kCountShift = 16;
constexpr int kMaskShift = 20;
constexpr std::array<std::uint32_t, 10000> kChunks = [] {
  std::array<std::uint32_t, 10000> chunks{};
  for (std::uint32_t chunk = 0; chunk < 10000; ++chunk) {
    std::uint32_t order = 0, count = 0, seen = 0;
    for (std::uint32_t place = 1000; place != 0; place /= 10) {
      const std::uint32_t digit = chunk / place % 10;
      if ((seen >> digit) & 1u) continue;
      order |= digit << (4 * count);
      ++count;
      seen |= 1u << digit;
    }
    chunks[chunk] = order | count << kCountShift | seen << kMaskShift;
  }
  return chunks;
}();

// value / 10^k for value < 2^62 and k <= 11 as a multiplication: with
// l = ceil(log2 10^k) and m = ceil(2^(62+l) / 10^k), (value m) >> (62+l) is
// the exact quotient (Granlund and Montgomery), where a division by a
// looked-up power would take a slow division.
struct Reciprocal {
  std::uint64_t multiplier;
  int shift;
};
constexpr std::array<Reciprocal, 12> kReciprocals = [] {
  std::array<Reciprocal, 12> reciprocals{};
  for (std::size_t k = 0; k < reciprocals.size(); ++k) {
    const std::uint64_t divisor = plan::kPowersOfTen[k];
    int l = 0;
    while ((std::uint64_t{1} << l) < divisor) ++l;
    const Wide scaled = Wide{1} << (62 + l);
    reciprocals[k] = {static_cast<std::uint64_t>((scaled + divisor - 1) / divisor), 62 + l};
  }
  return reciprocals;
}();

std::uint64_t DividedByPowerOfTen(std::uint64_t value, int k) {
  const Reciprocal& r = kReciprocals[static_cast<std::size_t>(k)];
  return static_cast<std::uint64_t>((Wide{value} * r.multiplier) >> r.shift);
}

constexpr std::uint64_t kTenPow7 = plan::kPowersOfTen[7];

// By exponent, for the vector kernels: 10^k, 10^-k and half of 10^k
// (0 for 10^0) as doubles.
using DoubleTable = std::array<double, 16>;
template <typename Entry>
constexpr DoubleTable MakeDoubleTable(Entry entry) {
  DoubleTable table{};
  for (std::size_t k = 0; k < table.size(); ++k) table[k] = entry(plan::kPowersOfTen[k]);
  return table;
}
constexpr DoubleTable kPowers = MakeDoubleTable([](std::uint64_t p) { return double(p); });
constexpr DoubleTable kInverses = MakeDoubleTable([](std::uint64_t p) { return 1.0 / double(p); });
constexpr DoubleTable kHalves = MakeDoubleTable([](std::uint64_t p) { return double(p / 2); });

#if defined(__x86_64__)
#define LANZHOU_AVX512 "avx512f,avx512bw,avx512dq,avx512vl"
// GCC 12's AVX-512 intrinsics start from _mm512_undefined_*(), which its
// warning takes for a read of an uninitialized value.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

// Eight bases of Mask at once in double and 32-bit lanes, the masks written
// to out; a bit for each lane it leaves unsettled (fewer than eight digits,
// a rounding carry into the top eight, fewer than four distinct digits
// there), whose mask the caller works out alone.
[[gnu::target(LANZHOU_AVX512)]] unsigned MasksAvx512(const std::uint32_t* formulaNumbers,
                                                     const std::uint32_t* drawNumbers, int play,
                                                     const std::uint32_t* byKey,
                                                     std::uint32_t* out) {
  // V2 = (V1 x N2) x 2 in double, exactly the engine's arithmetic.
  const __m512d twice = _mm512_set1_pd(2.0);
  const __m512d number =
      _mm512_cvtepu32_pd(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(drawNumbers)));
  const __m512d first = _mm512_mul_pd(
      _mm512_mul_pd(
          _mm512_cvtepu32_pd(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(formulaNumbers))),
          number),
      twice);  // below 10^13: exact
  const __m512d value = _mm512_mul_pd(_mm512_mul_pd(first, number), twice);
  __mmask8 unsettled = _mm512_cmp_pd_mask(value, _mm512_set1_pd(1e7), _CMP_LT_OQ);

  // 10^(length-8), its inverse and half of 10^(length-13) (0 below 14
  // digits), set by each power the value reaches. Values below 10^7 are
  // unsettled anyway; all stay below 10^19.
  const __m512d one = _mm512_set1_pd(1.0);
  __m512d unit = one;
  __m512d inverse = one;
  __m512d half = _mm512_setzero_pd();
  for (std::size_t k = 8; k <= 18; ++k) {
    const __mmask8 reached = _mm512_cmp_pd_mask(
        value, _mm512_set1_pd(static_cast<double>(plan::kPowersOfTen[k])), _CMP_GE_OQ);
    unit = _mm512_mask_mov_pd(unit, reached, _mm512_set1_pd(kPowers[k - 7]));
    inverse = _mm512_mask_mov_pd(inverse, reached, _mm512_set1_pd(kInverses[k - 7]));
    if (k >= 13) half = _mm512_mask_mov_pd(half, reached, _mm512_set1_pd(kHalves[k - 12]));
  }
  __m512d top = _mm512_roundscale_pd(_mm512_mul_pd(value, inverse), _MM_FROUND_TO_NEG_INF);
  __m512d rest = _mm512_fnmadd_pd(top, unit, value);
  const __mmask8 under = _mm512_cmp_pd_mask(rest, _mm512_setzero_pd(), _CMP_LT_OQ);
  top = _mm512_mask_sub_pd(top, under, top, one);
  rest = _mm512_mask_add_pd(rest, under, rest, unit);
  const __mmask8 over = _mm512_cmp_pd_mask(rest, unit, _CMP_GE_OQ);
  top = _mm512_mask_add_pd(top, over, top, one);
  rest = _mm512_mask_sub_pd(rest, over, rest, unit);
  // The carry of the 13-digit rounding (see Mask).
  unsettled |= _mm512_mask_cmp_pd_mask(_mm512_cmp_pd_mask(half, _mm512_setzero_pd(), _CMP_GT_OQ),
                                       rest, _mm512_sub_pd(unit, half), _CMP_GE_OQ);

  // The two four-digit chunks of the top eight, looked up.
  const __m512d highChunk =
      _mm512_roundscale_pd(_mm512_mul_pd(top, _mm512_set1_pd(1e-4)), _MM_FROUND_TO_NEG_INF);
  __m512d lowChunk = _mm512_fnmadd_pd(highChunk, _mm512_set1_pd(1e4), top);
  __m256i high32 = _mm512_cvttpd_epi32(highChunk);
  __m256i low32 = _mm512_cvttpd_epi32(lowChunk);
  // A product rounded up leaves a chunk of -1 or 10^4: put right.
  const __m256i tooLow = _mm256_srai_epi32(low32, 31);
  high32 = _mm256_add_epi32(high32, tooLow);
  low32 = _mm256_add_epi32(low32, _mm256_and_si256(tooLow, _mm256_set1_epi32(10000)));
  const __mmask8 tooHigh = _mm256_cmpge_epi32_mask(low32, _mm256_set1_epi32(10000));
  high32 = _mm256_mask_add_epi32(high32, tooHigh, high32, _mm256_set1_epi32(1));
  low32 = _mm256_mask_sub_epi32(low32, tooHigh, low32, _mm256_set1_epi32(10000));
  // Unsettled lanes may hold anything: look up chunk 0 there.
  high32 = _mm256_maskz_mov_epi32(static_cast<__mmask8>(~unsettled), high32);
  low32 = _mm256_maskz_mov_epi32(static_cast<__mmask8>(~unsettled), low32);
  const auto* chunks = reinterpret_cast<const int*>(kChunks.data());
  const __m256i high = _mm256_i32gather_epi32(chunks, high32, 4);
  const __m256i low = _mm256_i32gather_epi32(chunks, low32, 4);

  // The merge of Mask, lane-wide.
  const __m256i nibble = _mm256_set1_epi32(15);
  __m256i order = _mm256_and_si256(high, _mm256_set1_epi32(0xFFFF));
  __m256i count = _mm256_and_si256(_mm256_srli_epi32(high, kCountShift), _mm256_set1_epi32(7));
  const __m256i seen = _mm256_srli_epi32(high, kMaskShift);
  const __m256i lowCount =
      _mm256_and_si256(_mm256_srli_epi32(low, kCountShift), _mm256_set1_epi32(7));
  for (int j = 0; j < 4; ++j) {
    const __m256i digit = _mm256_and_si256(_mm256_srli_epi32(low, 4 * j), nibble);
    const __mmask8 fresh =
        _mm256_cmpgt_epi32_mask(lowCount, _mm256_set1_epi32(j)) &
        _mm256_testn_epi32_mask(_mm256_srlv_epi32(seen, digit), _mm256_set1_epi32(1));
    order = _mm256_mask_or_epi32(order, fresh, order,
                                 _mm256_sllv_epi32(digit, _mm256_slli_epi32(count, 2)));
    count = _mm256_mask_add_epi32(count, fresh, count, _mm256_set1_epi32(1));
  }
  unsettled |= _mm256_cmplt_epi32_mask(count, _mm256_set1_epi32(4));
  // The class by its key digit (see byKey_), from a table of sixteen.
  const __m256i third = _mm256_and_si256(_mm256_srli_epi32(order, 8), nibble);
  __m256i key = third;
  if (play == plan::kMethodOddEven) key = _mm256_and_si256(_mm256_srli_epi32(order, 12), nibble);
  if (play == plan::kMethodBoth) {
    key = _mm256_add_epi32(_mm256_and_si256(order, nibble), third);
    const __mmask8 wraps = _mm256_cmpge_epi32_mask(key, _mm256_set1_epi32(10));
    key = _mm256_mask_sub_epi32(key, wraps, key, _mm256_set1_epi32(10));
  }
  const __m256i classes =
      _mm256_permutex2var_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(byKey)), key,
                                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(byKey + 8)));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), classes);
  return unsettled;
}
#undef LANZHOU_AVX512

#define LANZHOU_AVX2 "avx2,fma"

// MasksAvx512's work in AVX2, where masks are whole lanes: the doubles four
// bases at a time, then the chunks eight at a time.
struct TopChunks {
  __m128i high;
  __m128i low;
  unsigned unsettled;  // a bit per lane, as MasksAvx512's
};

// The top eight digits of four bases' second values as two four-digit chunks.
[[gnu::always_inline, gnu::target(LANZHOU_AVX2)]] inline TopChunks TopChunksAvx2(
    const std::uint32_t* formulaNumbers, const std::uint32_t* drawNumbers) {
  // Formula numbers reach 2^32: converted signed, then moved back up.
  const __m128i flipped = _mm_xor_si128(
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(formulaNumbers)), _mm_set1_epi32(INT32_MIN));
  const __m256d formulaNumber =
      _mm256_add_pd(_mm256_cvtepi32_pd(flipped), _mm256_set1_pd(2147483648.0));
  const __m256d number =
      _mm256_cvtepi32_pd(_mm_loadu_si128(reinterpret_cast<const __m128i*>(drawNumbers)));
  const __m256d twice = _mm256_set1_pd(2.0);
  const __m256d first = _mm256_mul_pd(_mm256_mul_pd(formulaNumber, number), twice);
  const __m256d value = _mm256_mul_pd(_mm256_mul_pd(first, number), twice);
  auto unsettled = static_cast<unsigned>(
      _mm256_movemask_pd(_mm256_cmp_pd(value, _mm256_set1_pd(1e7), _CMP_LT_OQ)));

  // 10^(length-8), its inverse and half of 10^(length-13) (0 below 14
  // digits), set by each power the value reaches: blends, where gathers by
  // the length would be slow. Values reach 10^7 here and stay below 10^19.
  const __m256d one = _mm256_set1_pd(1.0);
  __m256d unit = one;
  __m256d inverse = one;
  __m256d half = _mm256_setzero_pd();
  for (std::size_t k = 8; k <= 18; ++k) {
    const __m256d reached = _mm256_cmp_pd(
        value, _mm256_set1_pd(static_cast<double>(plan::kPowersOfTen[k])), _CMP_GE_OQ);
    unit = _mm256_blendv_pd(unit, _mm256_set1_pd(kPowers[k - 7]), reached);
    inverse = _mm256_blendv_pd(inverse, _mm256_set1_pd(kInverses[k - 7]), reached);
    if (k >= 13) half = _mm256_blendv_pd(half, _mm256_set1_pd(kHalves[k - 12]), reached);
  }
  __m256d top = _mm256_floor_pd(_mm256_mul_pd(value, inverse));
  __m256d rest = _mm256_fnmadd_pd(top, unit, value);
  const __m256d under = _mm256_cmp_pd(rest, _mm256_setzero_pd(), _CMP_LT_OQ);
  top = _mm256_sub_pd(top, _mm256_and_pd(under, one));
  rest = _mm256_add_pd(rest, _mm256_and_pd(under, unit));
  const __m256d over = _mm256_cmp_pd(rest, unit, _CMP_GE_OQ);
  top = _mm256_add_pd(top, _mm256_and_pd(over, one));
  rest = _mm256_sub_pd(rest, _mm256_and_pd(over, unit));
  unsettled |= static_cast<unsigned>(_mm256_movemask_pd(
      _mm256_and_pd(_mm256_cmp_pd(half, _mm256_setzero_pd(), _CMP_GT_OQ),
                    _mm256_cmp_pd(rest, _mm256_sub_pd(unit, half), _CMP_GE_OQ))));

  const __m256d highChunk = _mm256_floor_pd(_mm256_mul_pd(top, _mm256_set1_pd(1e-4)));
  const __m256d lowChunk = _mm256_fnmadd_pd(highChunk, _mm256_set1_pd(1e4), top);
  __m128i high32 = _mm256_cvttpd_epi32(highChunk);
  __m128i low32 = _mm256_cvttpd_epi32(lowChunk);
  const __m128i tenThousand = _mm_set1_epi32(10000);
  const __m128i tooLow = _mm_srai_epi32(low32, 31);
  high32 = _mm_add_epi32(high32, tooLow);
  low32 = _mm_add_epi32(low32, _mm_and_si128(tooLow, tenThousand));
  const __m128i tooHigh = _mm_cmpgt_epi32(low32, _mm_set1_epi32(9999));
  high32 = _mm_sub_epi32(high32, tooHigh);
  low32 = _mm_sub_epi32(low32, _mm_and_si128(tooHigh, tenThousand));
  return {high32, low32, unsettled};
}

// Eight bases, as MasksAvx512.
[[gnu::target(LANZHOU_AVX2)]] unsigned MasksAvx2(const std::uint32_t* formulaNumbers,
                                                 const std::uint32_t* drawNumbers, int play,
                                                 const std::uint32_t* byKey, std::uint32_t* out) {
  const TopChunks first = TopChunksAvx2(formulaNumbers, drawNumbers);
  const TopChunks second = TopChunksAvx2(formulaNumbers + 4, drawNumbers + 4);
  unsigned unsettled = first.unsettled | second.unsettled << 4;
  // Unsettled lanes may hold anything: look up chunk 0 there.
  const __m256i laneBits = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
  const __m256i settled =
      _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32(static_cast<int>(unsettled)), laneBits),
                         _mm256_setzero_si256());
  const __m256i high32 = _mm256_and_si256(_mm256_set_m128i(second.high, first.high), settled);
  const __m256i low32 = _mm256_and_si256(_mm256_set_m128i(second.low, first.low), settled);
  const auto* chunks = reinterpret_cast<const int*>(kChunks.data());
  const __m256i high = _mm256_i32gather_epi32(chunks, high32, 4);
  const __m256i low = _mm256_i32gather_epi32(chunks, low32, 4);

  const __m256i nibble = _mm256_set1_epi32(15);
  const __m256i seven = _mm256_set1_epi32(7);
  __m256i order = _mm256_and_si256(high, _mm256_set1_epi32(0xFFFF));
  __m256i count = _mm256_and_si256(_mm256_srli_epi32(high, kCountShift), seven);
  const __m256i seen = _mm256_srli_epi32(high, kMaskShift);
  const __m256i lowCount = _mm256_and_si256(_mm256_srli_epi32(low, kCountShift), seven);
  for (int j = 0; j < 4; ++j) {
    const __m256i digit = _mm256_and_si256(_mm256_srli_epi32(low, 4 * j), nibble);
    const __m256i unseen =
        _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_srlv_epi32(seen, digit), _mm256_set1_epi32(1)),
                           _mm256_setzero_si256());
    const __m256i fresh =
        _mm256_and_si256(_mm256_cmpgt_epi32(lowCount, _mm256_set1_epi32(j)), unseen);
    order = _mm256_or_si256(
        order, _mm256_and_si256(fresh, _mm256_sllv_epi32(digit, _mm256_slli_epi32(count, 2))));
    count = _mm256_sub_epi32(count, fresh);
  }
  unsettled |= static_cast<unsigned>(
      _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpgt_epi32(_mm256_set1_epi32(4), count))));
  const __m256i third = _mm256_and_si256(_mm256_srli_epi32(order, 8), nibble);
  __m256i key = third;
  if (play == plan::kMethodOddEven) key = _mm256_and_si256(_mm256_srli_epi32(order, 12), nibble);
  if (play == plan::kMethodBoth) {
    key = _mm256_add_epi32(_mm256_and_si256(order, nibble), third);
    const __m256i wraps = _mm256_cmpgt_epi32(key, _mm256_set1_epi32(9));
    key = _mm256_sub_epi32(key, _mm256_and_si256(wraps, _mm256_set1_epi32(10)));
  }
  // Settled keys are digits; the rest are kept inside the table.
  key = _mm256_and_si256(key, nibble);
  const __m256i classes = _mm256_i32gather_epi32(reinterpret_cast<const int*>(byKey), key, 4);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), classes);
  return unsettled;
}
#undef LANZHOU_AVX2
#pragma GCC diagnostic pop
#endif

// The vector kernel to use for isa: AVX2 also stands in for AVX-512 on a
// machine without it; the AVX2 kernel needs FMA too.
LaneIsa KernelIsa(LaneIsa isa) {
#if defined(__x86_64__)
  if (isa == LaneIsa::Avx512 && LaneIsaSupported(LaneIsa::Avx512)) return LaneIsa::Avx512;
  if (isa != LaneIsa::Baseline && LaneIsaSupported(LaneIsa::Avx2) && __builtin_cpu_supports("fma"))
    return LaneIsa::Avx2;
#endif
  (void)isa;
  return LaneIsa::Baseline;
}

}  // namespace

ClassPicker::ClassPicker(int play, LaneIsa isa) : play_(play), isa_(KernelIsa(isa)) {
  for (unsigned key = 0; key < 10; ++key) {
    // A key is reached by first = 0 or 1 and third = fourth = key.
    const unsigned first = play == plan::kMethodBoth ? 0 : 1;
    byKey_[key] = plan::ClassOfMethod(play, first, key, key).mask;
  }
  for (unsigned first = 0; first < 10; ++first) {
    for (unsigned third = 0; third < 10; ++third) {
      for (unsigned fourth = 0; fourth < 10; ++fourth) {
        masks_[first * 100 + third * 10 + fourth] =
            plan::ClassOfMethod(play, first, third, fourth).mask;
      }
    }
  }
}

std::uint32_t ClassPicker::FromFullText(std::uint64_t firstValue, std::uint32_t drawNumber) const {
  const LeadDigits lead = PredictLeadDigits(MakeValueText(firstValue, drawNumber));
  return plan::ClassOfMethod(play_, lead.first, lead.third, lead.fourth).mask;
}

void ClassPicker::Masks(const std::uint32_t* formulaNumbers, const std::uint32_t* drawNumbers,
                        std::size_t count, std::uint32_t* masks) const {
  auto one = [&](std::size_t i) {
    return Mask(std::uint64_t{formulaNumbers[i]} * 2 * drawNumbers[i], drawNumbers[i]);
  };
  std::size_t i = 0;
#if defined(__x86_64__)
  if (isa_ != LaneIsa::Baseline) {
    const auto kernel = isa_ == LaneIsa::Avx512 ? &MasksAvx512 : &MasksAvx2;
    for (; i < count; i += 8) {
      // Lanes the vectors could not settle take the one-at-a-time way; the
      // lanes past the end are dropped.
      for (unsigned unsettled =
               kernel(formulaNumbers + i, drawNumbers + i, play_, byKey_.data(), masks + i);
           unsettled != 0; unsettled &= unsettled - 1) {
        const std::size_t j = i + static_cast<std::size_t>(std::countr_zero(unsettled));
        if (j < count) masks[j] = one(j);
      }
    }
    return;
  }
#endif
  for (; i < count; ++i) masks[i] = one(i);
}

std::uint32_t ClassPicker::Mask(std::uint64_t firstValue, std::uint32_t drawNumber) const {
  // V1 < 10^13 and N2 < 10^5: the exact product is below 2^60. The double
  // product rounds it once to 53 bits, as converting it does; the doubling
  // is exact. Signed conversions: the unsigned ones branch.
  const std::uint64_t product = firstValue * drawNumber;
  const auto rounded = static_cast<std::uint64_t>(
      static_cast<std::int64_t>(static_cast<double>(static_cast<std::int64_t>(product))));
  const std::uint64_t value = rounded * 2;
  if (value < kTenPow7) return FromFullText(firstValue, drawNumber);

  // The top eight digits. "%.13g" keeps five digits more, rounded half to
  // even on the exact value: the rounding carries into the top eight when
  // those five are 99999 and what follows is half a unit or more (a tie
  // rounds the odd 9 up), that is when the rest below the top eight
  // reaches 10^(length-8) - 10^cut / 2. Nothing is cut below 14 digits.
  const int length = plan::DecimalLength(value);
  const std::uint64_t unit = plan::kPowersOfTen[static_cast<std::size_t>(length - 8)];
  const std::uint64_t top = DividedByPowerOfTen(value, length - 8);
  const int cut = std::max(length - 13, 0);
  const std::uint64_t half = plan::kPowersOfTen[static_cast<std::size_t>(cut)] / 2;
  if (value - top * unit >= unit - half) return FromFullText(firstValue, drawNumber);

  // The text starts with the top eight digits (a mantissa whose trailing
  // zeros are dropped goes on with the exponent's "0" just the same), so
  // their first four distinct digits are the text's when they have four.
  const std::uint32_t high = kChunks[top / 10000];
  const std::uint32_t low = kChunks[top % 10000];
  std::uint32_t order = high & 0xFFFF;
  std::uint32_t count = (high >> kCountShift) & 7;
  const std::uint32_t seen = high >> kMaskShift;
  const std::uint32_t lowCount = (low >> kCountShift) & 7;
  for (std::uint32_t j = 0; j < 4; ++j) {
    // The low chunk's digits differ from one another: each is new or not
    // by the high chunk alone.
    const std::uint32_t digit = (low >> (4 * j)) & 15;
    const std::uint32_t valid = j < lowCount;
    const std::uint32_t fresh = valid & ~(seen >> digit) & 1u;
    order |= (fresh * digit) << (4 * count);
    count += fresh;
  }
  if (count < 4) return FromFullText(firstValue, drawNumber);
  const std::uint32_t first = order & 15, third = (order >> 8) & 15, fourth = (order >> 12) & 15;
  return masks_[first * 100 + third * 10 + fourth];
}

}  // namespace search
