#include "app/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <string_view>

namespace app {
namespace {

using namespace std::chrono;

TEST(CommandLine, NoArgumentsRunsTheWindowFromTheProgramDirectory) {
  auto options = ParseCommandLine({});
  ASSERT_TRUE(options.ok());
  EXPECT_FALSE(options.value().console);
  EXPECT_FALSE(options.value().qt);
  EXPECT_FALSE(options.value().noStart);
  EXPECT_FALSE(options.value().clock);
  EXPECT_TRUE(options.value().dataDir.empty());
}

TEST(CommandLine, EveryOptionTogether) {
  auto options = ParseCommandLine({"--console", "--qt", "--data-dir", "/tmp/x y", "--clock",
                                   "2024-02-29T23:59:58", "--no-start"});
  ASSERT_TRUE(options.ok()) << options.error().message;
  EXPECT_TRUE(options.value().console);
  EXPECT_TRUE(options.value().qt);
  EXPECT_TRUE(options.value().noStart);
  EXPECT_EQ(options.value().dataDir, "/tmp/x y");
  ASSERT_TRUE(options.value().clock);
  EXPECT_EQ(*options.value().clock, local_days{2024y / February / 29} + 23h + 59min + 58s);
}

TEST(CommandLine, QuitAfterPaintIsForTheWindow) {
  auto options = ParseCommandLine({"--quit-after-paint", "--data-dir", "/tmp"});
  ASSERT_TRUE(options.ok()) << options.error().message;
  EXPECT_TRUE(options.value().quitAfterPaint);
  EXPECT_FALSE(options.value().console);
  EXPECT_FALSE(ParseCommandLine({}).value().quitAfterPaint);
}

TEST(CommandLine, RefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string>> bad = {
      {"--data-dir"},
      {"--data-dir", ""},
      {"--console", "--clock"},
      {"--console", "--clock", "2024-13-01T00:00:00"},
      {"--clock", "2024-01-01T00:00:00"},  // the window runs on the system clock
      {"--qt"},
      {"--console", "--quit-after-paint"},
      {"--frobnicate"},
      {"console"},
  };
  for (const auto& args : bad) {
    auto options = ParseCommandLine(args);
    EXPECT_FALSE(options.ok()) << testing::PrintToString(args);
    if (!options.ok()) {
      EXPECT_FALSE(options.error().message.empty());
    }
  }
}

TEST(Clock, ParsesOnlyRealTimesInTheExactForm) {
  EXPECT_EQ(ParseClock("2023-12-31T00:00:00"), local_days{2023y / December / 31});
  const std::vector<std::string> bad = {
      "",
      "2023-12-31 00:00:00",
      "2023-12-31T00:00",
      "2023-02-29T10:00:00",
      "2023-12-31T24:00:00",
      "2023-12-31T23:60:00",
      "2023-12-31T23:59:60",
      "2023-1a-31T23:59:59",
      "+023-12-31T23:59:59",
      "2023-12-31T23:59:59Z",
  };
  for (const auto& text : bad) EXPECT_FALSE(ParseClock(text)) << text;
}

TEST(Clock, FormatDropsMillisecondsAndRoundTrips) {
  auto time = local_days{2024y / March / 5} + 7h + 8min + 9s + 999ms;
  EXPECT_EQ(FormatClock(time), "2024-03-05T07:08:09");
  EXPECT_EQ(ParseClock(FormatClock(time)), floor<seconds>(time));
}

TEST(CommandLine, HelpAndVersionAskNothingElse) {
  const std::vector<std::vector<std::string>> help = {{"--help"}, {"-h"}, {"--console", "--help"}};
  for (const auto& args : help) {
    auto options = ParseCommandLine(args);
    ASSERT_TRUE(options.ok()) << testing::PrintToString(args);
    EXPECT_TRUE(options.value().help);
    EXPECT_FALSE(options.value().version);
  }
  auto version = ParseCommandLine({"--version"});
  ASSERT_TRUE(version.ok());
  EXPECT_TRUE(version.value().version);
  EXPECT_FALSE(version.value().help);
}

TEST(CommandLine, HelpGivesEveryOptionOneLine) {
  std::vector<std::string> lines;
  std::istringstream help(HelpText());
  for (std::string line; std::getline(help, line);) lines.push_back(line);
  for (const std::string option : {"--help", "--version", "--data-dir DIR", "--console", "--qt",
                                   "--clock", "--no-start", "--quit-after-paint"}) {
    auto mentions = std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.starts_with("  ") && line.find(option) != std::string::npos;
    });
    EXPECT_EQ(mentions, 1) << option << "\n" << HelpText();
  }
  // A terminal's columns: a Chinese character (three UTF-8 bytes) takes two.
  auto columns = [](const std::string& line) {
    std::size_t width = 0;
    for (unsigned char c : line) {
      if ((c & 0xC0) != 0x80) width += (c & 0xF0) == 0xE0 ? 2 : 1;
    }
    return width;
  };
  for (const auto& line : lines) EXPECT_LE(columns(line), 80u) << line;
}

// "N.N.N": three dot-separated runs of digits.
bool IsDottedVersion(std::string_view text) {
  int parts = 0;
  while (true) {
    const std::size_t dot = text.find('.');
    const std::string_view part = text.substr(0, dot);
    if (part.empty() || part.find_first_not_of("0123456789") != std::string_view::npos)
      return false;
    ++parts;
    if (dot == std::string_view::npos) return parts == 3;
    text.remove_prefix(dot + 1);
  }
}

TEST(CommandLine, VersionIsTheProgramsNameAndADottedNumber) {
  const std::string version = VersionText();
  ASSERT_EQ(version.rfind("lanzhou ", 0), 0u) << version;
  EXPECT_TRUE(IsDottedVersion(std::string_view(version).substr(8))) << version;
  EXPECT_FALSE(IsDottedVersion("1.0"));
  EXPECT_FALSE(IsDottedVersion("1.x.0"));
}

TEST(CommandLine, LicenceIsGplThreeOrLater) {
  const std::string licence = LicenceText();
  EXPECT_EQ(licence.rfind("License GPL-3.0-or-later ", 0), 0u) << licence;
  EXPECT_NE(licence.find("NO WARRANTY"), std::string::npos) << licence;
}

}  // namespace
}  // namespace app
