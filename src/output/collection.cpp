#include "output/collection.h"

#include <utility>

#include "output/number_text.h"

namespace output {

namespace {

constexpr double kTolerance = 0.0000001;

std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
      out += "\r\n";
    } else if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) {
      out += "\r\n";
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace

PerKind UpdatedPositions(const std::array<bool, plan::kPlanKindCount>& included,
                         const PerKind& positions) {
  const std::string inUse = positions[0] + positions[1] + positions[2];
  PerKind updated = positions;
  for (int i = 0; i < plan::kPlanKindCount; ++i) {
    if (!included[i]) {
      updated[i].clear();
      continue;
    }
    if (!updated[i].empty()) {
      continue;
    }
    for (int k = 1; k <= 3; ++k) {
      const std::string number = std::to_string(k);
      if (inUse.find(number) == std::string::npos) {
        updated[i] = number;
        break;
      }
    }
  }
  return updated;
}

std::vector<int> CollectionOrder(const PerKind& positions) {
  std::vector<std::pair<double, int>> left;  // (value, kind)
  for (int kind = 1; kind <= plan::kPlanKindCount; ++kind) {
    left.emplace_back(NumericValue(positions[kind - 1]), kind);
  }
  std::vector<int> order;
  while (!left.empty()) {
    std::size_t chosen = 0;
    for (std::size_t i = 1; i < left.size(); ++i) {
      if (left[i].first < left[chosen].first - kTolerance) {
        chosen = i;
      }
    }
    const int kind = left[chosen].second;
    left.erase(left.begin() + static_cast<std::ptrdiff_t>(chosen));
    if (!positions[kind - 1].empty()) {
      order.push_back(kind);
    }
  }
  return order;
}

std::string CollectionText(const CollectionInput& input) {
  std::string text;
  for (int kind : input.order) {
    text += input.blocks[kind - 1];
    text += input.separator;
    text += "\r\n";
  }
  if (!input.hint.empty()) {
    text += WithCrLf(input.hint);
    text += "\r\n";
  }
  if (input.withDraw) {
    if (!input.hint.empty()) {
      text += input.separator;
      text += "\r\n";
    }
    text += "重庆:" + input.draw.issue + " 期开[" + input.draw.code + "]\r\n";
  }
  return text;
}

}  // namespace output
