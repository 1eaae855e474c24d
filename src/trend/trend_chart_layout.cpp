#include "trend/trend_chart_layout.h"

namespace trend {

const std::vector<std::string>& TrendColumnCaptions() {
  static const std::vector<std::string> captions{"期号", "奖号", "0", "1", "2", "3",    "4",
                                                 "5",    "6",    "7", "8", "9", "大小", "单双"};
  return captions;
}

bool IsDigitColumn(int column) { return column >= kFirstDigitColumn && column < kSizeColumn; }

}  // namespace trend
