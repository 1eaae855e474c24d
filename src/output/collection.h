#pragma once

#include <array>
#include <string>
#include <vector>

#include "lottery/draw.h"
#include "plan/plan_settings.h"

namespace output {

// One text per plan kind, indexed by plan::PlanKind - 1; the kind's number is
// the tie-break between equal positions.
using PerKind = std::array<std::string, plan::kPlanKindCount>;

// The position texts after a click on one of the include boxes. Which numbers
// are in use is judged on the texts from before the click, once, so two kinds
// switched on together receive the same number.
PerKind UpdatedPositions(const std::array<bool, plan::kPlanKindCount>& included,
                         const PerKind& positions);

// The kinds in collection order: by numeric position, equal positions (within
// 1e-7) in kind order; a kind with an empty position text is left out.
std::vector<int> CollectionOrder(const PerKind& positions);

struct CollectionInput {
  std::vector<int> order;  // from CollectionOrder
  PerKind blocks;          // each either empty or whole lines ended by CR LF
  std::string separator;
  std::string hint;
  bool withDraw = true;
  lottery::Draw draw;  // the newest; an empty issue when the draw list is empty
};

// The collection: per kind its block and a separator line, the hint line when
// there is a hint, then the draw line ("重庆:..."), preceded by a separator
// line when there is a hint. Every line ends with CR LF; line breaks inside
// the hint are written as CR LF whatever form the box gave them in.
std::string CollectionText(const CollectionInput& input);

}  // namespace output
