#include "archive/draw_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "generated_draws.h"
#include "temp_dir.h"

namespace archive {
namespace {

void WriteFile(const std::filesystem::path& file, const std::string& content) {
  std::ofstream(file, std::ios::binary) << content;
}

DrawTextScan ReadPieces(std::string_view text, std::size_t pieceSize,
                        std::vector<lottery::Draw>& draws) {
  DrawTextReader reader(lottery::Chongqing());
  for (std::size_t at = 0; at < text.size(); at += pieceSize) {
    reader.Feed(text.substr(at, pieceSize));
  }
  reader.Finish();
  draws = reader.draws();
  return reader.scan();
}

const std::string kMixedText =
    "\xEF\xBB\xBFissue,code\r\n"
    "20160116-023,13579\r\n"
    "\r\n"
    "20160116-024\t24680\n"
    "20160116025 11111\n"
    "20160230-001,12345\n"
    "# a note\n"
    "20160116-026,1234\n"
    "20160116-027,22222";  // no line end at the end

TEST(DrawTextReaderTest, LinesSplitAcrossPiecesOfAnySizeReadTheSame) {
  const std::vector<lottery::Draw> expected = {{"20160116-023", "13579"},
                                               {"20160116-024", "24680"},
                                               {"20160116-025", "11111"},
                                               {"20160116-027", "22222"}};
  const std::vector<RejectedLine> rejects = {{6, "no such date 20160230"},
                                             {8, "code is not five digits"}};
  for (std::size_t pieceSize : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7},
                                std::size_t{64}, kMixedText.size()}) {
    std::vector<lottery::Draw> draws;
    const DrawTextScan scan = ReadPieces(kMixedText, pieceSize, draws);
    EXPECT_EQ(draws, expected) << "pieces of " << pieceSize;
    EXPECT_EQ(scan.lines, 9) << "pieces of " << pieceSize;
    EXPECT_EQ(scan.rejected, 2) << "pieces of " << pieceSize;
    EXPECT_EQ(scan.firstRejects, rejects) << "pieces of " << pieceSize;
  }
}

TEST(DrawTextReaderTest, AnOverlongLineIsRejectedAndTheNextOneStillRead) {
  const std::string longLine(kMaxLineBytes + 1, '7');
  const std::string justFits = "20160116-023," + std::string(kMaxLineBytes - 18, ' ') + "13579";
  ASSERT_EQ(justFits.size(), kMaxLineBytes);
  const std::string text = longLine + "\n" + justFits + "\n" + longLine + longLine;
  for (std::size_t pieceSize : {std::size_t{100}, std::size_t{1000}, text.size()}) {
    std::vector<lottery::Draw> draws;
    const DrawTextScan scan = ReadPieces(text, pieceSize, draws);
    EXPECT_EQ(draws, (std::vector<lottery::Draw>{{"20160116-023", "13579"}})) << pieceSize;
    const std::string why = "line longer than " + std::to_string(kMaxLineBytes) + " bytes";
    EXPECT_EQ(scan.firstRejects, (std::vector<RejectedLine>{{1, why}, {3, why}})) << pieceSize;
  }
}

TEST(DrawTextReaderTest, KeepsTheFirstTwentyRejectsAndCountsThemAll) {
  std::string text;
  for (int i = 0; i < 25; ++i) text += "bad\n20160116-023,13579\n";
  std::vector<lottery::Draw> draws;
  const DrawTextScan scan = ReadPieces(text, text.size(), draws);
  EXPECT_EQ(draws.size(), 25u);
  EXPECT_EQ(scan.rejected, 25);
  ASSERT_EQ(scan.firstRejects.size(), kKeptRejects);
  EXPECT_EQ(scan.firstRejects.front().line, 1);
  EXPECT_EQ(scan.firstRejects.back().line, 39);
}

TEST(DrawFileTest, HandsTheDrawsOnInWholeBatchesInFileOrder) {
  TempDir dir;
  const auto draws = GeneratedDraws(25);
  WriteFile(dir.path() / "draws.csv", DrawCsv(draws));
  std::vector<std::size_t> batches;
  std::vector<lottery::Draw> handed;
  auto scan = ReadDrawFile(
      dir.path() / "draws.csv", lottery::Chongqing(),
      [&](std::span<const lottery::Draw> batch) {
        batches.push_back(batch.size());
        handed.insert(handed.end(), batch.begin(), batch.end());
        return base::Status(base::Ok{});
      },
      10);
  ASSERT_TRUE(scan.ok()) << scan.error().message;
  EXPECT_EQ(batches, (std::vector<std::size_t>{10, 10, 5}));
  EXPECT_EQ(handed, draws);
  EXPECT_EQ(scan.value().lines, 26);
}

TEST(DrawFileTest, AFailingReceiverStopsTheReading) {
  TempDir dir;
  WriteFile(dir.path() / "draws.csv", DrawCsv(GeneratedDraws(25)));
  int calls = 0;
  auto scan = ReadDrawFile(
      dir.path() / "draws.csv", lottery::Chongqing(),
      [&](std::span<const lottery::Draw>) {
        ++calls;
        return base::Status(base::Error{"disk full"});
      },
      10);
  ASSERT_FALSE(scan.ok());
  EXPECT_EQ(scan.error().message, "disk full");
  EXPECT_EQ(calls, 1);
}

TEST(DrawFileTest, FilesThatAreNoDrawTextFailAsAWhole) {
  TempDir dir;
  WriteFile(dir.path() / "picture.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  WriteFile(dir.path() / "utf16.txt", std::string("\xFF\xFE"
                                                  "2\0"
                                                  "0\0"
                                                  "1\0",
                                                  8));
  WriteFile(dir.path() / "text-then-nul.txt", "20160116-023,13579\n" + std::string(1, '\0'));
  // Two gigabytes on disk, none of it read beyond the first piece.
  const auto huge = dir.path() / "huge.bin";
  WriteFile(huge, "");
  ASSERT_EQ(::truncate(huge.c_str(), 2LL << 30), 0);
  struct Case {
    std::filesystem::path file;
    const char* why;
  };
  for (const Case& c :
       {Case{dir.path() / "picture.png", "not a text file"},
        Case{dir.path() / "utf16.txt", "not a text file"},
        Case{dir.path() / "text-then-nul.txt", "not a text file"}, Case{huge, "not a text file"},
        Case{dir.path() / "missing.csv", "no such file"}, Case{dir.path(), "not a regular file"}}) {
    bool handed = false;
    auto scan = ReadDrawFile(
        c.file, lottery::Chongqing(),
        [&](std::span<const lottery::Draw>) {
          handed = true;
          return base::Status(base::Ok{});
        },
        10);
    ASSERT_FALSE(scan.ok()) << c.file;
    EXPECT_EQ(scan.error().message, c.file.string() + ": " + c.why);
    EXPECT_FALSE(handed) << c.file;
  }
}

TEST(DrawFileTest, AFiftyMegabyteFileOfJunkIsReadLineByLine) {
  TempDir dir;
  const auto file = dir.path() / "junk.txt";
  std::int64_t lines = 0;
  {
    std::ofstream out(file, std::ios::binary);
    const std::string junk = "junk, not a draw at all: 2016-01-16 023 13579 ~~~~~~~~~~~~\n";
    std::string block;
    for (int i = 0; i < 1000; ++i) block += junk;
    for (int i = 0; i < 500; ++i, lines += 1000) out << block;
    out << std::string(25 << 20, 'x') << "\n";  // one line of 25 MB
    out << "20160116-023,13579\n";
    lines += 2;
  }
  ASSERT_GT(std::filesystem::file_size(file), 50u << 20);
  std::vector<lottery::Draw> handed;
  auto scan = ReadDrawFile(
      file, lottery::Chongqing(),
      [&](std::span<const lottery::Draw> batch) {
        handed.insert(handed.end(), batch.begin(), batch.end());
        return base::Status(base::Ok{});
      },
      10000);
  ASSERT_TRUE(scan.ok()) << scan.error().message;
  EXPECT_EQ(scan.value().lines, lines);
  EXPECT_EQ(scan.value().rejected, lines - 1);
  EXPECT_EQ(scan.value().firstRejects.size(), kKeptRejects);
  EXPECT_EQ(handed, (std::vector<lottery::Draw>{{"20160116-023", "13579"}}));
}

TEST(DrawFileTest, TextIsTellingFromBinary) {
  EXPECT_FALSE(LooksBinary("20160116-023,13579\r\n\t\f\v\x1a"));
  EXPECT_FALSE(LooksBinary("号码 \xB0\xA1"));  // UTF-8 and GBK bytes are text
  for (char c : {'\0', '\x01', '\x08', '\x0e', '\x1b', '\x1f', '\x7f'}) {
    EXPECT_TRUE(LooksBinary(std::string("12") + c + "34")) << static_cast<int>(c);
  }
}

}  // namespace
}  // namespace archive
