#include "output/number_text.h"

#include <cstddef>

#include "base/leading_number.h"

namespace output {

std::string AsciiNumberForms(std::string_view text) {
  // U+FF0B '＋', U+FF0D '－', U+FF0E '．', U+FF10..U+FF19 '０'..'９' are
  // EF BC 8B, EF BC 8D, EF BC 8E, EF BC 90..99 in UTF-8.
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i + 2 < text.size() && static_cast<unsigned char>(text[i]) == 0xEF &&
        static_cast<unsigned char>(text[i + 1]) == 0xBC) {
      const auto last = static_cast<unsigned char>(text[i + 2]);
      char ascii = 0;
      if (last >= 0x90 && last <= 0x99) {
        ascii = static_cast<char>('0' + (last - 0x90));
      } else if (last == 0x8B) {
        ascii = '+';
      } else if (last == 0x8D) {
        ascii = '-';
      } else if (last == 0x8E) {
        ascii = '.';
      }
      if (ascii != 0) {
        out.push_back(ascii);
        i += 2;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

double NumericValue(std::string_view text) { return base::LeadingDecimal(AsciiNumberForms(text)); }

}  // namespace output
