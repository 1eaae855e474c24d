// EvaluateFormula on any formula bytes, base draw and code count: the
// prediction always holds the asked number of distinct digits, and the
// machine's fastest path, the portable one and the literal reference give
// the same evaluation.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "plan/formula.h"
#include "plan/reference_formula.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const int codeCount = data.ConsumeIntegralInRange<int>(-2, 12);
  const std::string draw = data.ConsumeRandomLengthString(8);
  const std::string formula = data.ConsumeRemainingBytesAsString();

  const plan::Evaluation evaluation = plan::EvaluateFormula(draw, codeCount, formula);
  const plan::Evaluation portable = plan::EvaluateFormulaPortably(draw, codeCount, formula);
  const plan::Evaluation reference = plan::ReferenceEvaluateFormula(draw, codeCount, formula);
  if (!(evaluation.prediction == portable.prediction) ||
      !(evaluation.valueDigits == portable.valueDigits) ||
      !(evaluation.prediction == reference.prediction) ||
      !(evaluation.valueDigits == reference.valueDigits)) {
    std::abort();
  }
  const std::string prediction = evaluation.prediction.str();
  const std::size_t expected = static_cast<std::size_t>(std::clamp(codeCount, 0, 10));
  if (prediction.size() != expected) {
    std::abort();
  }
  for (std::size_t i = 0; i < prediction.size(); ++i) {
    if (prediction[i] < '0' || prediction[i] > '9' ||
        prediction.find(prediction[i], i + 1) != std::string::npos) {
      std::abort();
    }
  }
  (void)plan::SortDigits(prediction);
  (void)plan::CompanionFormula(prediction);
  (void)plan::SortDigits(formula);
  (void)plan::CompanionFormula(formula);
  return 0;
}
