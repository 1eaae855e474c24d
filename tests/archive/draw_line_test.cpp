#include "archive/draw_line.h"

#include <gtest/gtest.h>

namespace archive {
namespace {

TEST(DrawLineTest, EveryFormReadsAsTheDashedIssueAndItsCode) {
  struct Case {
    const char* line;
    const char* issue;
    const char* code;
  };
  for (const Case& c : {
           Case{"20160116-023,13579", "20160116-023", "13579"},
           Case{"20160116-023\t13579", "20160116-023", "13579"},
           Case{"20160116023 13579", "20160116-023", "13579"},
           Case{"20160116-023 13579", "20160116-023", "13579"},  // the mirror's old form
           Case{"20160116023,13579", "20160116-023", "13579"},
           Case{"20160116-023,13579\r", "20160116-023", "13579"},
           Case{"  20160116-023 ,\t13579  ", "20160116-023", "13579"},
           Case{"\"20160116-023\",\"13579\"", "20160116-023", "13579"},
           Case{"20160116-023\t\t13579", "20160116-023", "13579"},
           Case{"20000101-001,00000", "20000101-001", "00000"},
           Case{"20991231-120,99999", "20991231-120", "99999"},
           Case{"20160229-001,12345", "20160229-001", "12345"},  // a leap day
       }) {
    const DrawLine parsed = ParseDrawLine(c.line, lottery::Chongqing());
    ASSERT_EQ(parsed.kind, DrawLine::Kind::Draw) << c.line << ": " << parsed.reason;
    EXPECT_EQ(parsed.draw, (lottery::Draw{c.issue, c.code})) << c.line;
  }
}

TEST(DrawLineTest, BlankCommentAndHeaderLinesCarryNothing) {
  for (const char* line : {"", "   ", "\r", " \t\r", "# recorded by hand", "issue,code",
                           "issue,code\r", "Issue,Code", "issue\tcode"}) {
    const DrawLine parsed = ParseDrawLine(line, lottery::Chongqing());
    EXPECT_EQ(parsed.kind, DrawLine::Kind::Nothing) << '"' << line << '"';
  }
}

TEST(DrawLineTest, BadLinesAreRejectedWithTheirReason) {
  struct Case {
    const char* line;
    const char* reason;
  };
  for (const Case& c : {
           Case{"20160116-023", "not an issue and a code"},
           Case{"20160116-023,13579,7", "not an issue and a code"},
           Case{"20160116-023 13579 7", "not an issue and a code"},
           Case{",13579", "not an issue and a code"},
           Case{"garbage", "not an issue and a code"},
           Case{"2016011-0231 13579", "bad issue number"},
           Case{"20160116-23 13579", "bad issue number"},
           Case{"2016011623 13579", "bad issue number"},
           Case{"201601160231 13579", "bad issue number"},
           Case{"20160116_023 13579", "bad issue number"},
           Case{"2016-01-16-023 13579", "bad issue number"},
           Case{"\xEF\xBB\xBF"
                "20160116-023 13579",
                "bad issue number"},  // BOM mid-file
           Case{"２０１６０１１６-023 13579", "bad issue number"},
           Case{"20160230-001 13579", "no such date 20160230"},
           Case{"20150229-001 13579", "no such date 20150229"},
           Case{"20161301-001 13579", "no such date 20161301"},
           Case{"20160100-001 13579", "no such date 20160100"},
           Case{"19991231-001 13579", "year 1999 outside 2000-2099"},
           Case{"21000101-001 13579", "year 2100 outside 2000-2099"},
           Case{"20160116-121 13579", "sequence 121 outside 001-120"},
           Case{"20160116-000 13579", "sequence 000 outside 001-120"},
           Case{"20160116-023 1357", "code is not five digits"},
           Case{"20160116-023 135790", "code is not five digits"},
           Case{"20160116-023 1357a", "code is not five digits"},
           Case{"20160116-023,-1357", "code is not five digits"},
           Case{"20160116-023,１３５７９", "code is not five digits"},
       }) {
    const DrawLine parsed = ParseDrawLine(c.line, lottery::Chongqing());
    ASSERT_EQ(parsed.kind, DrawLine::Kind::Rejected) << c.line;
    EXPECT_EQ(parsed.reason, c.reason) << c.line;
  }
}

}  // namespace
}  // namespace archive
