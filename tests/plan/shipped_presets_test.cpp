#include <gtest/gtest.h>

#include <set>

#include "plan/formula.h"
#include "plan/preset_formula_file.h"

namespace plan {
namespace {

// The gs.ini the build ships: ten distinct formulas per kind that read back
// through the store's decoding and evaluate to full predictions.
TEST(ShippedPresets, TenFormulasPerKind) {
  for (PlanKind kind : {PlanKind::Position, PlanKind::TwoStar, PlanKind::ThreeStar}) {
    auto formulas = LoadPresetFormulas(LANZHOU_SHIPPED_PRESETS_DIR, kind);
    std::set<std::string> distinct(formulas.begin(), formulas.end());
    EXPECT_EQ(distinct.size(), 10u) << static_cast<int>(kind);
    for (const auto& formula : formulas) {
      EXPECT_FALSE(formula.empty());
      EXPECT_EQ(EvaluateFormula("38149", 8, formula).prediction.size(), 8u) << formula;
    }
  }
  EXPECT_EQ(LoadPresetFormulas(LANZHOU_SHIPPED_PRESETS_DIR, PlanKind::Position)[0], "DCC*657");
}

}  // namespace
}  // namespace plan
