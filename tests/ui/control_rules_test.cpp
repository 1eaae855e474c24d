#include "ui/control_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using ui::ControlDefinition;
using ui::ControlKind;
using ui::Operation;

const std::vector<ControlKind> kAllKinds{
    ControlKind::Window,     ControlKind::Label,      ControlKind::TransparentLabel,
    ControlKind::EditBox,    ControlKind::ComboBox,   ControlKind::CheckBox,
    ControlKind::RadioBox,   ControlKind::Button,     ControlKind::ImageButton,
    ControlKind::ListView,   ControlKind::PictureBox, ControlKind::HtmlViewer,
    ControlKind::Timer,      ControlKind::GroupBox,   ControlKind::Panel,
    ControlKind::TabControl,
};

ControlDefinition Control(std::string name, ControlKind kind) {
  ControlDefinition control;
  control.name = std::move(name);
  control.kind = kind;
  return control;
}

ControlDefinition Box(bool digitsOnly, int maxLength) {
  ControlDefinition box = Control("编辑框", ControlKind::EditBox);
  box.digitsOnly = digitsOnly;
  box.maxLength = maxLength;
  return box;
}

TEST(ControlRulesTest, EachOperationBelongsToItsKindsOnly) {
  struct Case {
    Operation operation;
    std::vector<ControlKind> kinds;
  };
  const std::vector<Case> cases{
      {Operation::ReadText,
       {ControlKind::Label, ControlKind::TransparentLabel, ControlKind::EditBox,
        ControlKind::ComboBox, ControlKind::CheckBox, ControlKind::RadioBox, ControlKind::Button,
        ControlKind::ImageButton, ControlKind::GroupBox}},
      {Operation::WriteText,
       {ControlKind::Label, ControlKind::TransparentLabel, ControlKind::EditBox,
        ControlKind::CheckBox, ControlKind::RadioBox, ControlKind::Button, ControlKind::ImageButton,
        ControlKind::GroupBox}},
      {Operation::Edit, {ControlKind::EditBox}},
      {Operation::Check, {ControlKind::CheckBox, ControlKind::RadioBox}},
      {Operation::Items, {ControlKind::ComboBox}},
      {Operation::Select, {ControlKind::ImageButton}},
      {Operation::Pages, {ControlKind::TabControl}},
      {Operation::Rows, {ControlKind::ListView}},
      {Operation::Picture, {ControlKind::PictureBox}},
      {Operation::Browse, {ControlKind::HtmlViewer}},
      {Operation::Time, {ControlKind::Timer}},
      {Operation::Enable,
       {ControlKind::Window, ControlKind::Label, ControlKind::TransparentLabel,
        ControlKind::EditBox, ControlKind::ComboBox, ControlKind::CheckBox, ControlKind::RadioBox,
        ControlKind::Button, ControlKind::ImageButton, ControlKind::ListView,
        ControlKind::PictureBox, ControlKind::HtmlViewer, ControlKind::GroupBox, ControlKind::Panel,
        ControlKind::TabControl}},
  };
  for (const Case& c : cases) {
    for (ControlKind kind : kAllKinds) {
      bool listed = std::find(c.kinds.begin(), c.kinds.end(), kind) != c.kinds.end();
      EXPECT_EQ(ui::KindHas(kind, c.operation), listed)
          << ui::KindName(kind) << ", operation " << static_cast<int>(c.operation);
    }
  }
}

TEST(ControlRulesTest, WrongKindsAreRefusedInOneWording) {
  struct Case {
    ControlDefinition control;
    Operation operation;
    std::string message;
  };
  const std::vector<Case> cases{
      {Control("标签1", ControlKind::Label), Operation::Check,
       "标签1 is a label, which does not have this operation"},
      {Control("组合框_定位选1", ControlKind::ComboBox), Operation::WriteText,
       "组合框_定位选1 is a combo box, which does not have this operation"},
      {Control("超文本浏览框_开奖", ControlKind::HtmlViewer), Operation::Rows,
       "超文本浏览框_开奖 is a HTML viewer, which does not have this operation"},
      {Control("时钟1", ControlKind::Timer), Operation::Enable,
       "时钟1 is a timer, which cannot be enabled or disabled"},
  };
  for (const Case& c : cases) {
    try {
      ui::RequireOperation(c.control, c.operation);
      ADD_FAILURE() << c.message << ": no exception";
    } catch (const std::invalid_argument& error) {
      EXPECT_EQ(error.what(), c.message);
    }
  }
  EXPECT_NO_THROW(
      ui::RequireOperation(Control("组合框", ControlKind::ComboBox), Operation::ReadText));
  try {
    ui::ThrowNoControl("标签_没有");
  } catch (const std::out_of_range& error) {
    EXPECT_STREQ(error.what(), "no control named 标签_没有");
  }
}

TEST(ControlRulesTest, PagesAndPicturesOutsideTheirRangeAreRefused) {
  ControlDefinition tabs = Control("选择夹", ControlKind::TabControl);
  tabs.pages = {"一", "二", "三"};
  for (int page : {0, 2}) EXPECT_NO_THROW(ui::RequirePage(tabs, page)) << page;
  for (int page : {-1, 3}) EXPECT_THROW(ui::RequirePage(tabs, page), std::out_of_range) << page;
  try {
    ui::RequirePage(tabs, 3);
  } catch (const std::out_of_range& error) {
    EXPECT_STREQ(error.what(), "选择夹 has no page 3");
  }

  for (int digit : {ui::Picture::kPlaceholder, 0, 9}) {
    EXPECT_NO_THROW(ui::RequirePicture("图片框1", ui::Picture{digit})) << digit;
  }
  for (int digit : {-2, 10}) {
    EXPECT_THROW(ui::RequirePicture("图片框1", ui::Picture{digit}), std::invalid_argument) << digit;
  }
  try {
    ui::RequirePicture("图片框1", ui::Picture{10});
  } catch (const std::invalid_argument& error) {
    EXPECT_STREQ(error.what(), "图片框1: no picture for digit 10");
  }
}

TEST(ControlRulesTest, RadiosShareAGroupOnlyInTheSameContainerAndPage) {
  struct Case {
    std::string parentA;
    int pageA;
    std::string parentB;
    int pageB;
    bool together;
  };
  const std::vector<Case> cases{
      {"分组框1", -1, "分组框1", -1, true},  {"", -1, "", -1, true},
      {"选择夹", 0, "选择夹", 0, true},      {"选择夹", 0, "选择夹", 1, false},
      {"分组框1", -1, "分组框2", -1, false}, {"", -1, "分组框1", -1, false},
  };
  for (const Case& c : cases) {
    ControlDefinition a = Control("单选框_a", ControlKind::RadioBox);
    a.parent = c.parentA;
    a.page = c.pageA;
    ControlDefinition b = Control("单选框_b", ControlKind::RadioBox);
    b.parent = c.parentB;
    b.page = c.pageB;
    EXPECT_EQ(ui::RadioGroup(a) == ui::RadioGroup(b), c.together)
        << c.parentA << "/" << c.pageA << " and " << c.parentB << "/" << c.pageB;
  }
}

TEST(ControlRulesTest, TypingTakesWhatTheBoxAllowsCharacterByCharacter) {
  struct Case {
    bool digitsOnly;
    int maxLength;
    std::string before;
    std::string typed;
    std::string after;
    bool allTaken;
  };
  const std::vector<Case> cases{
      {false, 0, "冷热", " A1", "冷热 A1", true},
      {true, 0, "2", "3x4", "234", false},
      {true, 0, "", "七", "", false},
      {true, 0, "", "７", "", false},  // a full-width digit is not a digit
      {true, 1, "", "45", "4", false},
      {true, 1, "3", "5", "3", false},
      {true, 1, "", "", "", true},
      // The length counts characters, not bytes.
      {false, 3, "冷热", "号码", "冷热号", false},
      {false, 2, "", "a七", "a七", true},
      // What the program set stays, even beyond the rules.
      {true, 1, "abc", "", "abc", true},
      {true, 1, "12", "3", "12", false},
      // A character cut short at the end of the input is one character.
      {false, 2, "", "a\xE4\xB8", "a\xE4\xB8", true},
      {true, 0, "", "\xE4\xB8", "", false},
  };
  for (const Case& c : cases) {
    ui::Typed typed = ui::TypeInto(Box(c.digitsOnly, c.maxLength), c.before, c.typed);
    EXPECT_EQ(typed.text, c.after) << c.before << " + " << c.typed;
    EXPECT_EQ(typed.allTaken, c.allTaken) << c.before << " + " << c.typed;
  }
}

TEST(ControlRulesTest, AWholeTextFitsWhenItCouldHaveBeenTyped) {
  struct Case {
    bool digitsOnly;
    int maxLength;
    std::string text;
    bool fits;
  };
  const std::vector<Case> cases{
      {true, 1, "", true},      {true, 1, "7", true},          {true, 1, "78", false},
      {true, 1, "a", false},    {true, 0, "0123456789", true}, {true, 0, "12a", false},
      {false, 2, "七八", true}, {false, 2, "七八九", false},   {false, 0, "任何 text", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ui::CouldBeTyped(Box(c.digitsOnly, c.maxLength), c.text), c.fits) << c.text;
  }
  EXPECT_FALSE(ui::LimitsTyping(Box(false, 0)));
  EXPECT_TRUE(ui::LimitsTyping(Box(true, 0)));
  EXPECT_TRUE(ui::LimitsTyping(Box(false, 4)));
}

}  // namespace
