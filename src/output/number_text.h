#pragma once

#include <string>
#include <string_view>

namespace output {

// Full-width digits, signs and point (as an IME types them) in their ASCII
// forms; every other character unchanged.
std::string AsciiNumberForms(std::string_view text);

// The number at the start of the text as base::LeadingDecimal reads it, with
// full-width forms counted as their ASCII forms.
double NumericValue(std::string_view text);

}  // namespace output
