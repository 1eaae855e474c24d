#include "app/console_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace app {
namespace {

const ArgumentShape kNone{};
const ArgumentShape kName{{"NAME"}};
const ArgumentShape kCell{{"NAME", "ROW", "COL"}};
const ArgumentShape kText{{"NAME", "TEXT"}, true};

TEST(ConsoleLineTest, CutsOneArgumentPerParameterTheLastToTheEnd) {
  struct Case {
    const ArgumentShape* shape;
    std::string line;
    std::vector<std::string> args;
  };
  const std::vector<Case> cases{
      {&kNone, "now", {}},
      {&kName, "text 标签1", {"标签1"}},
      {&kName, "text 标签1 x", {"标签1 x"}},
      {&kCell, "cell 列表 3 4", {"列表", "3", "4"}},
      {&kCell, "cell 列表 3 4 5", {"列表", "3", "4 5"}},
      // Two blanks leave an empty argument between them.
      {&kCell, "cell 列表  4", {"列表", "", "4"}},
      {&kText, "set 编辑框 a  b ", {"编辑框", "a  b "}},
      {&kText, "set 编辑框", {"编辑框", ""}},
      {&kText, "set 编辑框 ", {"编辑框", ""}},
      {&kName, "text ", {""}},
  };
  for (const Case& c : cases) {
    auto parsed = CutLine(c.line, *c.shape);
    ASSERT_TRUE(parsed.ok()) << c.line << ": " << parsed.error().message;
    EXPECT_EQ(parsed.value().word, CommandWord(c.line)) << c.line;
    EXPECT_EQ(std::vector<std::string>(parsed.value().args.begin(), parsed.value().args.end()),
              c.args)
        << c.line;
  }
}

TEST(ConsoleLineTest, MissingOrExtraArgumentsSayHowTheCommandIsCalled) {
  struct Case {
    const ArgumentShape* shape;
    std::string line;
    std::string error;
  };
  const std::vector<Case> cases{
      {&kName, "text", "usage: text NAME"},
      {&kCell, "cell 列表 0", "usage: cell NAME ROW COL"},
      {&kCell, "cell", "usage: cell NAME ROW COL"},
      // Only the last text may be left out, not the name before it.
      {&kText, "set", "usage: set NAME TEXT"},
      {&kNone, "now please", "now takes no argument"},
      {&kNone, "clipboard ", "clipboard takes no argument"},
  };
  for (const Case& c : cases) {
    auto parsed = CutLine(c.line, *c.shape);
    ASSERT_FALSE(parsed.ok()) << c.line;
    EXPECT_EQ(parsed.error().message, c.error) << c.line;
  }
}

TEST(ConsoleLineTest, NumbersAreWholeAndInRange) {
  struct Case {
    std::string text;
    std::string error;  // empty: the number is taken
  };
  const std::vector<Case> cases{
      {"0", ""},
      {"-1", ""},
      {"2147483647", ""},
      {"-2147483647", ""},
      {"2147483648", "ROW is out of range: 2147483648"},
      {"-2147483648", "ROW is out of range: -2147483648"},
      {"", "ROW is not a number: "},
      {"1x", "ROW is not a number: 1x"},
      {" 1", "ROW is not a number:  1"},
      {"+1", "ROW is not a number: +1"},
      {"99999999999999999999", "ROW is not a number: 99999999999999999999"},
  };
  for (const Case& c : cases) {
    auto value = IntArgument("ROW", c.text);
    if (c.error.empty()) {
      ASSERT_TRUE(value.ok()) << c.text << ": " << value.error().message;
      EXPECT_EQ(std::to_string(value.value()), c.text);
    } else {
      ASSERT_FALSE(value.ok()) << c.text;
      EXPECT_EQ(value.error().message, c.error);
    }
  }
  EXPECT_EQ(NumberArgument("MS", "86400001").value(), 86400001LL);
}

}  // namespace
}  // namespace app
