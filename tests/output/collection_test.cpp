#include "output/collection.h"

#include <gtest/gtest.h>

namespace output {
namespace {

const std::string kSeparator = "————————————————";

TEST(CollectionOrder, ByNumericPositionWithKindTieBreak) {
  const struct {
    PerKind positions;
    std::vector<int> order;
  } cases[] = {
      {{"1", "2", "3"}, {1, 2, 3}},
      {{"3", "1", "2"}, {2, 3, 1}},
      {{"2", "2", "1"}, {3, 1, 2}},
      {{"1", "1.5", "2"}, {1, 2, 3}},
      {{"2", "1.5", "1"}, {3, 2, 1}},
      {{"1", "2", "abc"}, {3, 1, 2}},
      {{"1", "", "3"}, {1, 3}},
      {{"", "", ""}, {}},
      {{"1.00000005", "1", "0"}, {3, 1, 2}},  // within 1e-7: kind order
      {{"1.0000002", "1", "0"}, {3, 2, 1}},
      {{"-1", "３", "２"}, {1, 3, 2}},
      {{" ", "x", ""}, {1, 2}},  // a blank or non-numeric position still counts
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CollectionOrder(c.positions), c.order)
        << c.positions[0] << '|' << c.positions[1] << '|' << c.positions[2];
  }
}

TEST(UpdatedPositions, AssignsFromTheTextsBeforeTheClick) {
  const struct {
    std::array<bool, 3> included;
    PerKind before;
    PerKind after;
  } cases[] = {
      // Unchecking clears; checking again takes the smallest number free.
      {{true, true, false}, {"1", "2", "3"}, {"1", "2", ""}},
      {{true, true, true}, {"1", "2", ""}, {"1", "2", "3"}},
      {{true, true, true}, {"1", "", ""}, {"1", "2", "2"}},  // same number for both
      {{true, true, true}, {"1", "3", ""}, {"1", "3", "2"}},
      {{true, true, false}, {"", "", ""}, {"1", "1", ""}},
      {{false, true, false}, {"", "", ""}, {"", "1", ""}},
      {{true, true, true}, {"7", "2", "5"}, {"7", "2", "5"}},   // kept, never checked
      {{true, false, true}, {"12", "", "3"}, {"12", "", "3"}},  // 1, 2 and 3 all in use
      {{true, true, false}, {"12", "", ""}, {"12", "3", ""}},   // digits inside "12" count
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UpdatedPositions(c.included, c.before), c.after)
        << c.before[0] << '|' << c.before[1] << '|' << c.before[2];
  }
}

TEST(UpdatedPositions, TwoStarAndThreeStarOffThenPositionEmptied) {
  PerKind positions = UpdatedPositions({true, false, false}, {"1", "2", "3"});
  EXPECT_EQ(positions, (PerKind{"1", "", ""}));
  positions[0].clear();  // emptied by hand
  EXPECT_EQ(UpdatedPositions({true, true, false}, positions), (PerKind{"1", "1", ""}));
}

CollectionInput FormInput() {
  CollectionInput input;
  input.order = {1, 2, 3};
  input.separator = kSeparator;
  input.hint = "彩世有风险，投资需谨慎。";
  input.withDraw = true;
  input.draw = {"20140301-030", "52917"};
  return input;
}

TEST(CollectionText, FormValuesGiveSeparatorsHintSeparatorAndDrawLine) {
  EXPECT_EQ(CollectionText(FormInput()), kSeparator + "\r\n" + kSeparator + "\r\n" + kSeparator +
                                             "\r\n彩世有风险，投资需谨慎。\r\n" + kSeparator +
                                             "\r\n重庆:20140301-030 期开[52917]\r\n");
}

TEST(CollectionText, BlocksComeBeforeTheirSeparatorInOrder) {
  CollectionInput input = FormInput();
  input.order = {2, 3, 1};
  input.blocks = {"A1\r\nA2\r\n", "", "C1\r\n"};
  input.withDraw = false;
  EXPECT_EQ(CollectionText(input), kSeparator + "\r\nC1\r\n" + kSeparator + "\r\nA1\r\nA2\r\n" +
                                       kSeparator + "\r\n彩世有风险，投资需谨慎。\r\n");
}

TEST(CollectionText, EmptyHintDropsHintLineAndSeparatorBeforeDraw) {
  CollectionInput input = FormInput();
  input.order = {1, 3};
  input.hint.clear();
  EXPECT_EQ(CollectionText(input),
            kSeparator + "\r\n" + kSeparator + "\r\n重庆:20140301-030 期开[52917]\r\n");
}

TEST(CollectionText, EmptySeparatorGivesEmptyLines) {
  CollectionInput input = FormInput();
  input.separator.clear();
  EXPECT_EQ(CollectionText(input),
            "\r\n\r\n\r\n彩世有风险，投资需谨慎。\r\n\r\n重庆:20140301-030 期开[52917]\r\n");
}

TEST(CollectionText, MultiLineHintKeepsItsLinesWithCrLf) {
  CollectionInput input = FormInput();
  input.order.clear();
  input.withDraw = false;
  for (const std::string hint : {"一\r\n二\r\n三", "一\n二\n三", "一\r二\r\n三"}) {
    input.hint = hint;
    EXPECT_EQ(CollectionText(input), "一\r\n二\r\n三\r\n") << hint;
  }
}

TEST(CollectionText, EmptyDrawListGivesEmptyIssueAndDigits) {
  CollectionInput input = FormInput();
  input.order.clear();
  input.hint.clear();
  input.draw = {};
  EXPECT_EQ(CollectionText(input), "重庆: 期开[]\r\n");
  input.withDraw = false;
  EXPECT_EQ(CollectionText(input), "");
}

}  // namespace
}  // namespace output
