#include "base/leading_number.h"

#include <cstdlib>
#include <string>

namespace base {

double LeadingNumber(std::string_view text) { return std::atof(std::string(text).c_str()); }

}  // namespace base
