#include "net/body_conversion.h"

#include <opencc/opencc.h>

#include <algorithm>
#include <mutex>
#include <optional>

#include "base/codepage.h"

namespace net {
namespace {

// Length of the UTF-8 sequence led by `lead`, 1 for a stray byte.
size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// A character GBK lacks, or a broken sequence, becomes "?" (as the platform's
// own conversion writes it) instead of losing the whole page.
std::string Utf8ToGbkLenient(std::string_view utf8) {
  if (auto whole = base::Utf8ToGbk(utf8)) return *whole;
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    size_t length =
        std::min(Utf8SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    auto one = base::Utf8ToGbk(utf8.substr(i, length));
    if (one && base::IsValidUtf8(utf8.substr(i, length))) {
      out += *one;
      i += length;
    } else {
      out += '?';
      ++i;
      while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) ++i;
    }
  }
  return out;
}

std::string Big5ToUtf8Lenient(std::string_view big5) {
  if (auto whole = base::Big5ToUtf8(big5)) return *whole;
  std::string out;
  size_t i = 0;
  while (i < big5.size()) {
    auto lead = static_cast<unsigned char>(big5[i]);
    size_t length = (lead >= 0x81 && lead <= 0xFE && i + 1 < big5.size()) ? 2 : 1;
    auto one = base::Big5ToUtf8(big5.substr(i, length));
    out += one ? *one : "?";
    i += length;
  }
  return out;
}

// OpenCC's converter is opened once and shared; calls are serialised because
// the window thread and the history worker may both convert.
class TraditionalToSimplified {
 public:
  TraditionalToSimplified() : converter_(opencc_open("t2s.json")) {}
  ~TraditionalToSimplified() {
    if (Available()) opencc_close(converter_);
  }
  TraditionalToSimplified(const TraditionalToSimplified&) = delete;
  TraditionalToSimplified& operator=(const TraditionalToSimplified&) = delete;

  // Text unchanged when OpenCC's data is missing: still readable, only not mapped.
  std::string Convert(const std::string& utf8) {
    if (!Available()) return utf8;
    std::lock_guard lock(mutex_);
    char* converted = opencc_convert_utf8(converter_, utf8.data(), utf8.size());
    if (converted == nullptr) return utf8;
    std::string out(converted);
    opencc_convert_utf8_free(converted);
    return out;
  }

 private:
  bool Available() const { return converter_ != reinterpret_cast<opencc_t>(-1); }

  std::mutex mutex_;
  opencc_t converter_;
};

}  // namespace

std::string Utf8ToGbk(std::string_view utf8) { return Utf8ToGbkLenient(utf8); }

std::string Big5ToSimplifiedGbk(std::string_view big5) {
  static TraditionalToSimplified& mapper = *new TraditionalToSimplified;  // lives to the end
  // Mapped before encoding: GBK lacks some traditional characters whose
  // simplified forms it has.
  return Utf8ToGbkLenient(mapper.Convert(Big5ToUtf8Lenient(big5)));
}

}  // namespace net
