// The real program saves sz.ini (超级按钮_保存设置) and gs.ini (sorting the
// search results saves the best ten as presets) over and over, flipping
// between two sets of values, and is killed with SIGKILL at a random moment.
// Each save replaces its whole file at once, so whatever the moment, each
// file must be exactly what one whole save of either set wrote; and a
// program started after the kill must clear the temporaries it left.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "base/atomic_file.h"
#include "base/codepage.h"
#include "lanzhou_program.h"
#include "plan/preset_formula_file.h"
#include "storage/ini_file.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// One sz.ini key: its section, key, the control and its value in each set.
struct SettingKey {
  const char* section;
  const char* key;
  const char* control;
  std::array<const char*, 2> values;  // set 0, set 1; equal values match either set
};

// In the order the save writes them.
const std::vector<SettingKey> kSettings = {
    {"1", "1", "选择框_定位更新", {"真", "假"}},
    {"1", "2", "选择框_后二更新", {"假", "真"}},
    {"1", "3", "选择框_后三更新", {"真", "假"}},
    {"2", "1", "单选框_数据源1", {"真", "假"}},
    {"2", "2", "单选框_数据源2", {"假", "真"}},
    {"2", "3", "单选框_万", {"假", "真"}},
    {"2", "4", "单选框_千", {"假", "假"}},
    {"2", "5", "单选框_百", {"假", "假"}},
    {"2", "6", "单选框_十", {"假", "假"}},
    {"2", "7", "单选框_个", {"真", "假"}},
    {"2", "8", "单选框_后二复试", {"真", "假"}},
    {"2", "9", "单选框_后二直选复试", {"假", "真"}},
    {"2", "10", "单选框_后三组选", {"真", "假"}},
    {"2", "11", "单选框_后三直选复试", {"假", "真"}},
    {"3", "1", "编辑框_定位期数", {"3", "7"}},
    {"3", "2", "编辑框_定位码数", {"5", "2"}},
    {"3", "3", "编辑框_后二期数", {"3", "9"}},
    {"3", "4", "编辑框_后二码数", {"8", "4"}},
    {"3", "5", "编辑框_后三期数", {"3", "6"}},
    {"3", "6", "编辑框_后三码数", {"8", "1"}},
    {"4", "1", "选择框_定位自定义公式", {"真", "假"}},
    {"4", "2", "选择框_二星自定义公式", {"假", "真"}},
    {"4", "3", "选择框_三星自定义公式", {"真", "真"}},
    {"5", "1", "编辑框_定位公式", {"DCC*657", "万位+1"}},
    {"5", "2", "编辑框_二星公式", {"", "CEE+741"}},
    {"5", "3", "编辑框_三星公式", {"ABE+12", "ABE+12"}},
};

// Sections whose keys hold a box's text; the others hold check states.
bool IsTextSection(const std::string& section) { return section == "3" || section == "5"; }

// Preset i (0-based) of kind 1 in each set.
std::string Formula(int set, int i) {
  return std::string(set == 0 ? "DCC*65" : "ABE+12") + std::to_string(i);
}

// Console lines that put every control into the set and press the save
// button, then fill the search results (rates 99% down to 90%, so the sort
// keeps this order) and sort them, which saves them as the kind's presets.
std::string SaveCommands(int set) {
  std::string lines;
  for (const SettingKey& s : kSettings) {
    const std::string value = s.values[set];
    if (IsTextSection(s.section)) {
      lines += "set " + std::string(s.control) + " " + value + "\n";
    } else {
      lines += "check " + std::string(s.control) + (value == "真" ? " 1\n" : " 0\n");
    }
  }
  lines += "click 超级按钮_保存设置\n";
  lines += "deleterows 超级列表框_搜索\n";
  for (int i = 0; i < 10; ++i) {
    lines += "insert 超级列表框_搜索 -1 " + std::to_string(i + 1) + "\\t" + Formula(set, i) +
             "\\t" + std::to_string(99 - i) + "%\n";
  }
  lines += "click 按钮_搜公式排序\n";
  return lines;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at) + "<no CR LF at the end>");
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the console with `script` as its input; returns its pid.
pid_t StartConsole(const fs::path& dataDir, const fs::path& script) {
  const std::string program = LanzhouProgram().string();
  const std::string dir = dataDir.string();
  pid_t pid = fork();
  if (pid == 0) {
    int in = open(script.c_str(), O_RDONLY);
    int null = open("/dev/null", O_WRONLY);
    dup2(in, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execl(program.c_str(), program.c_str(), "--console", "--no-start", "--data-dir", dir.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

class CrashSafeFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(LanzhouProgram())) << LanzhouProgram();
    // Kinds 2 and 3 are never saved here and must come through untouched.
    const fs::path presets = dir.path() / "gs.ini";
    for (int kind = 2; kind <= 3; ++kind) {
      for (int key = 1; key <= 10; ++key) {
        ASSERT_TRUE(storage::WriteIniKey(
                        presets, std::to_string(kind), std::to_string(key),
                        plan::EncodeFormulaText("CDE*" + std::to_string(key * kind)).value())
                        .ok());
      }
    }
    for (int set : {1, 0}) {
      std::ofstream(dir.path() / "once.txt") << SaveCommands(set) << "quit\n";
      ASSERT_NO_FATAL_FAILURE(RunToEnd("once.txt"));
      saves[set] = {ReadAll(dir.path() / "sz.ini"), ReadAll(dir.path() / "gs.ini")};
    }
    ASSERT_NE(saves[0].settings, saves[1].settings);
    ASSERT_NE(saves[0].presets, saves[1].presets);
    ASSERT_NO_FATAL_FAILURE(CheckWholeSave(saves[1], 1));
    ASSERT_NO_FATAL_FAILURE(CheckWholeSave(saves[0], 0));
    std::ofstream(dir.path() / "start.txt") << "quit\n";

    std::ofstream loop(dir.path() / "loop.txt");
    for (int round = 0; round < 2000; ++round) loop << SaveCommands(1 - round % 2);
  }

  void RunToEnd(const char* script) {
    pid_t pid = StartConsole(dir.path(), dir.path() / script);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }

  struct Save {
    std::string settings;  // sz.ini
    std::string presets;   // gs.ini
  };

  // What one whole save of `set` must hold: every key of the set, and in
  // gs.ini kinds 2 and 3 untouched beside kind 1.
  void CheckWholeSave(const Save& save, int set) {
    const std::vector<std::string> lines = Lines(base::DecodeGbkOrUtf8(save.settings));
    ASSERT_EQ(lines.size(), 5 + kSettings.size()) << save.settings;  // five section lines, the keys
    for (const SettingKey& s : kSettings) {
      EXPECT_EQ(storage::LookupIniKey(base::DecodeGbkOrUtf8(save.settings), s.section, s.key,
                                      "<missing>"),
                s.values[set])
          << s.section << "/" << s.key;
    }
    const std::vector<std::string> presetLines = Lines(save.presets);
    ASSERT_EQ(presetLines.size(), 33u) << save.presets;
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(plan::DecodeFormulaText(storage::LookupIniKey(base::DecodeGbkOrUtf8(save.presets),
                                                              "1", std::to_string(i + 1), "")),
                Formula(set, i));
    }
    for (int kind = 2; kind <= 3; ++kind) {
      for (int key = 1; key <= 10; ++key) {
        EXPECT_EQ(plan::DecodeFormulaText(storage::LookupIniKey(base::DecodeGbkOrUtf8(save.presets),
                                                                std::to_string(kind),
                                                                std::to_string(key), "")),
                  "CDE*" + std::to_string(key * kind));
      }
    }
  }

  // The set whose whole save the file is, or -1.
  static int SetOf(const std::string& bytes, const std::string& set0, const std::string& set1) {
    if (bytes == set0) return 0;
    if (bytes == set1) return 1;
    return -1;
  }

  std::vector<std::string> Temporaries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
      const std::string name = entry.path().filename().string();
      if (name.find(".ini.tmp") != std::string::npos) names.push_back(name);
    }
    return names;
  }

  TempDir dir;
  std::array<Save, 2> saves;
};

TEST_F(CrashSafeFilesTest, KilledWhileSavingLeavesWholeFiles) {
  std::mt19937 random(20140105);
  const int kills = 30;
  std::array<int, 2> settingsSets{}, presetSets{};
  int leftovers = 0;
  for (int k = 0; k < kills; ++k) {
    SCOPED_TRACE("kill " + std::to_string(k));
    const auto before = fs::last_write_time(dir.path() / "sz.ini");
    pid_t pid = StartConsole(dir.path(), dir.path() / "loop.txt");
    ASSERT_GT(pid, 0);
    // Once the saving has begun, let it run for a random while.
    for (int i = 0; i < 5000 && fs::last_write_time(dir.path() / "sz.ini") == before; ++i) {
      std::this_thread::sleep_for(1ms);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 40000));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the console ended before the kill: " << status;

    const std::string settingsNow = ReadAll(dir.path() / "sz.ini");
    const std::string presetsNow = ReadAll(dir.path() / "gs.ini");
    const int settingsSet = SetOf(settingsNow, saves[0].settings, saves[1].settings);
    const int presetsSet = SetOf(presetsNow, saves[0].presets, saves[1].presets);
    ASSERT_NE(settingsSet, -1) << "sz.ini is no whole save:\n" << settingsNow;
    ASSERT_NE(presetsSet, -1) << "gs.ini is no whole save:\n" << presetsNow;
    ++settingsSets[settingsSet];
    ++presetSets[presetsSet];

    // A temporary the kill left behind is litter, never the settings; the
    // next start clears it.
    leftovers += static_cast<int>(Temporaries().size());
    ASSERT_NO_FATAL_FAILURE(RunToEnd("start.txt"));
    EXPECT_EQ(Temporaries(), std::vector<std::string>{});
    ASSERT_NO_FATAL_FAILURE(RunToEnd("once.txt"));
  }
  std::cout << kills << " kills: sz.ini held set 0 / set 1 " << settingsSets[0] << " / "
            << settingsSets[1] << " times, gs.ini " << presetSets[0] << " / " << presetSets[1]
            << "; " << leftovers << " temporary files left behind and cleared at the next start\n";
}

}  // namespace
