#include "base/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace base {
namespace {

struct IconvCloser {
  void operator()(iconv_t cd) const { iconv_close(cd); }
};

// iconv with //IGNORE still reports EILSEQ at the end; `lenient` keeps what
// converted instead of failing.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view input,
                                   bool lenient) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser> guard(cd);

  std::string out;
  out.resize(input.size() * 4 + 16);
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  size_t written = 0;
  while (true) {
    char* outPtr = out.data() + written;
    size_t outLeft = out.size() - written;
    size_t rc = iconv(cd, inLeft ? &in : nullptr, &inLeft, &outPtr, &outLeft);
    written = out.size() - outLeft;
    if (rc != static_cast<size_t>(-1)) {
      if (inLeft == 0) break;
      continue;
    }
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    if (!lenient) return std::nullopt;
    if (inLeft == 0) break;
    // Skip one bad byte and go on.
    ++in;
    --inLeft;
  }
  out.resize(written);
  return out;
}

}  // namespace

std::optional<std::string> GbkToUtf8(std::string_view gbk) {
  return Convert("UTF-8", "GBK", gbk, false);
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  return Convert("GBK", "UTF-8", utf8, false);
}

std::optional<std::string> Big5ToUtf8(std::string_view big5) {
  return Convert("UTF-8", "BIG5", big5, false);
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    auto lead = static_cast<unsigned char>(bytes[i]);
    size_t extra = 0;
    if (lead < 0x80) {
      extra = 0;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
    } else {
      return false;
    }
    if (i + extra >= bytes.size() && extra > 0) return false;
    for (size_t k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

std::string DecodeGbkOrUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return Convert("UTF-8", "GBK", bytes, true).value_or(std::string());
}

}  // namespace base
