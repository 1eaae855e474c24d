#include "lottery/draw.h"

#include <gtest/gtest.h>

#include "lottery/lottery.h"

namespace lottery {
namespace {

TEST(DrawDoorTest, TheDoorRefusesWhatTheStoreMustNeverHold) {
  EXPECT_TRUE(CheckIssue("20160116-023", Chongqing()).ok());
  EXPECT_FALSE(CheckIssue("20160116023", Chongqing()).ok());  // only the dashed form is stored
  EXPECT_FALSE(CheckIssue("", Chongqing()).ok());
  EXPECT_EQ(CheckIssue("20160116-121", Chongqing()).error().message,
            "sequence 121 outside 001-120");
  EXPECT_TRUE(CheckCode("01234", Chongqing()).ok());
  EXPECT_FALSE(CheckCode("0123 ", Chongqing()).ok());
  EXPECT_FALSE(CheckCode(std::string_view("012\0"
                                          "4",
                                          5),
                         Chongqing())
                   .ok());
  for (const char* code : {"1357", "135790", "1357a", "-1357", "１３５７９"}) {
    EXPECT_EQ(CheckCode(code, Chongqing()).error().message, "code is not five digits") << code;
  }
}

}  // namespace
}  // namespace lottery
