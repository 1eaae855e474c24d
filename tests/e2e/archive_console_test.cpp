// The real program against the real mirror: every draw of the refreshes lands
// in the archive, survives a restart, and feeds the trend chart; the 回测
// page's archive strip imports and exports draw files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "child_process/child_process.h"
#include "mirror_draws.h"
#include "storage/ini_file.h"
#include "temp_dir.h"

namespace {

using namespace std::chrono;

const std::filesystem::path kBin = LANZHOU_TEST_BIN_DIR;

class ArchiveConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drawsFile = dir.path() / "mirror_draws.txt";
    std::ofstream out(drawsFile);
    for (auto [day, last] : {std::pair{2014y / January / 4d, 120}, {2014y / January / 5d, 50}}) {
      for (int sequence = 1; sequence <= last; ++sequence) {
        const lottery::Draw draw = drawd::SimulatedDraw({day, sequence});
        out << draw.issue << ',' << draw.code << '\n';
      }
    }
  }

  void StartMirror() {
    mirror.emplace(std::vector<std::string>{(kBin / "lanzhou-drawd").string(), "--port", "0",
                                            "--draws", drawsFile.string()});
    ASSERT_TRUE(mirror->started());
    const std::string banner = mirror->ReadLine(10000).value_or("");
    const std::size_t at = banner.find("http://127.0.0.1:");
    ASSERT_NE(at, std::string::npos) << banner;
    const std::string base = banner.substr(at);
    for (const char* key : {"history", "feed1", "feed2", "video", "announcement"}) {
      ASSERT_TRUE(storage::WriteIniKey(dir.path() / "sources.ini", "sources", key, base).ok());
    }
  }

  ChildProcess Console(const std::vector<std::string>& extra) {
    std::vector<std::string> argv{(kBin / "lanzhou").string(), "--console", "--data-dir",
                                  dir.path().string()};
    argv.insert(argv.end(), extra.begin(), extra.end());
    return ChildProcess(argv);
  }

  static std::string Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  TempDir dir;
  std::filesystem::path drawsFile;
  std::optional<ChildProcess> mirror;
};

TEST_F(ArchiveConsoleTest, RefreshesFillTheArchiveItOutlivesARestartAndFeedsTheChart) {
  StartMirror();
  {
    ChildProcess console = Console({"--clock", "2014-01-05T14:25:00"});
    ASSERT_TRUE(console.started());
    EXPECT_EQ(console.Ask("count 列表框_开奖"), "170");
    EXPECT_EQ(console.Ask("text 标签_号码库"), "号码库：170 期，20140104-001 至 20140105-050");
    // 50 draw rows, oldest first, then the four summary rows.
    EXPECT_EQ(console.Ask("count 走势图_号码"), "54");
    EXPECT_EQ(console.Ask("cell 走势图_号码 49 0"), "20140105-050");
    const std::string newest = drawd::SimulatedCode(2014y / January / 5d, 50);
    EXPECT_EQ(console.Ask("cell 走势图_号码 49 1"), newest);
    const std::string units(1, newest[4]);
    EXPECT_EQ(console.Ask("cell 走势图_号码 49 " + std::to_string(2 + (newest[4] - '0'))), units);
    EXPECT_EQ(console.Ask("cell 走势图_号码 50 0"), "出现次数");
    console.WriteLine("select 组合框_走势期数 0");  // 30期
    EXPECT_EQ(console.Ask("count 走势图_号码"), "34");
    console.WriteLine("quit");
  }
  // The mirror is gone: a restart still has every draw, and a new day's draws add to them.
  mirror.reset();
  std::ofstream(drawsFile, std::ios::app) << "20140105-051,12345\n";
  StartMirror();
  ChildProcess console = Console({"--clock", "2014-01-05T14:35:00"});
  ASSERT_TRUE(console.started());
  EXPECT_EQ(console.Ask("text 标签_号码库"), "号码库：171 期，20140104-001 至 20140105-051");
  console.WriteLine("set 编辑框_号码文件 " + (dir.path() / "export.csv").string());
  console.WriteLine("click 超级按钮_导出号码");
  EXPECT_EQ(console.Ask("text 标签_号码库"), "exported 171");
  const std::string exported = Read(dir.path() / "export.csv");
  EXPECT_EQ(exported.rfind("issue,code\n20140104-001,", 0), 0u);
  EXPECT_NE(exported.find("\n20140105-051,12345\n"), std::string::npos);
}

TEST_F(ArchiveConsoleTest, ImportThroughThePageCountsWhatItTookAndRefused) {
  const auto file = dir.path() / "mine.txt";
  std::ofstream(file) << "issue,code\n20240101-001,12345\n20240101-002\t67890\n"
                         "20240101003 13579\n20240101-121,11111\n20240101-004,1234x\n";
  ChildProcess console = Console({"--no-start"});
  ASSERT_TRUE(console.started());
  console.WriteLine("set 编辑框_号码文件 " + file.string());
  console.WriteLine("click 超级按钮_导入号码");
  EXPECT_EQ(console.Ask("text 标签_号码库"), "imported 3, unchanged 0, conflicts 0, rejected 2");
  console.WriteLine("click 超级按钮_导入号码");
  EXPECT_EQ(console.Ask("text 标签_号码库"), "imported 0, unchanged 3, conflicts 0, rejected 2");
  // The chart follows the archive at once.
  EXPECT_EQ(console.Ask("count 走势图_号码"), "7");
  EXPECT_EQ(console.Ask("cell 走势图_号码 2 1"), "13579");
}

// Runs the program with the arguments; its standard output and exit status.
std::pair<std::string, int> RunProgram(const std::filesystem::path& dir, const std::string& args) {
  const auto output = dir / "output.txt";
  const std::string command = (kBin / "lanzhou").string() + " --data-dir " + dir.string() + " " +
                              args + " > " + output.string() + " 2>&1";
  const int status = std::system(command.c_str());
  std::ifstream in(output, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return {text.str(), WEXITSTATUS(status)};
}

TEST_F(ArchiveConsoleTest, WithoutTheStartTheStripStillSaysWhatTheArchiveHolds) {
  const auto file = dir.path() / "mine.txt";
  std::ofstream(file) << "20240101-001,12345\n20240101-002,67890\n20240102-120,13579\n";
  ASSERT_EQ(RunProgram(dir.path(), "--import-draws " + file.string()).second, 0);
  ChildProcess console = Console({"--no-start"});
  ASSERT_TRUE(console.started());
  EXPECT_EQ(console.Ask("text 标签_号码库"), "号码库：3 期，20240101-001 至 20240102-120");
  console.WriteLine("quit");
}

TEST_F(ArchiveConsoleTest, TheCommandLineImportsAndExportsWithoutAWindow) {
  const auto file = dir.path() / "mine.txt";
  std::ofstream(file)
      << "\xEF\xBB\xBFissue,code\r\n20240101-001,12345\r\n\r\n20240101-002\t67890\r\n"
         "20240101-121,11111\r\n";
  EXPECT_EQ(RunProgram(dir.path(), "--import-draws " + file.string()),
            (std::pair<std::string, int>{"imported 2, unchanged 0, conflicts 0, rejected 1\nline "
                                         "5: sequence 121 outside 001-120\n",
                                         0}));
  const auto exported = dir.path() / "all.csv";
  EXPECT_EQ(RunProgram(dir.path(), "--export-draws " + exported.string()),
            (std::pair<std::string, int>{"exported 2\n", 0}));
  EXPECT_EQ(Read(exported), "issue,code\n20240101-001,12345\n20240101-002,67890\n");
  // The export imports again to the same draws.
  EXPECT_EQ(RunProgram(dir.path(), "--import-draws " + exported.string()).first,
            "imported 0, unchanged 2, conflicts 0, rejected 0\n");
  EXPECT_EQ(RunProgram(dir.path(), "--import-draws " + (dir.path() / "none.txt").string()).second,
            1);
}

}  // namespace
