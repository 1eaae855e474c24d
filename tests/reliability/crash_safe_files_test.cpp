// The real program saves sz.ini (超级按钮_保存设置) and gs.ini (sorting the
// search results saves the best ten as presets) over and over, flipping
// between two sets of values, and is killed with SIGKILL at a random moment.
// Each key is written by replacing the whole file, so whatever the moment,
// the file must be a complete one: every key present with its old or its new
// value, the new ones a prefix of the save order, nothing else in the file.
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
#include "plan/preset_store.h"
#include "settings/ini_file.h"
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
    {"1", "1", "选择框_定位更新", {"真", "假"}},  {"1", "2", "选择框_后二更新", {"假", "真"}},
    {"1", "3", "选择框_后三更新", {"真", "假"}},  {"2", "1", "单选框_数据源1", {"真", "假"}},
    {"2", "2", "单选框_数据源2", {"假", "真"}},   {"2", "3", "单选框_万", {"假", "真"}},
    {"2", "4", "单选框_千", {"假", "假"}},        {"2", "5", "单选框_百", {"假", "假"}},
    {"2", "6", "单选框_十", {"假", "假"}},        {"2", "7", "单选框_个", {"真", "假"}},
    {"2", "8", "单选框_后二复试", {"真", "假"}},  {"2", "9", "单选框_后二直选复试", {"假", "真"}},
    {"2", "10", "单选框_后三组选", {"真", "假"}}, {"2", "11", "单选框_后三直选复试", {"假", "真"}},
    {"3", "1", "编辑框_定位期数", {"3", "7"}},    {"3", "2", "编辑框_定位码数", {"5", "2"}},
    {"3", "3", "编辑框_后二期数", {"3", "9"}},    {"3", "4", "编辑框_后二码数", {"8", "4"}},
    {"3", "5", "编辑框_后三期数", {"3", "6"}},    {"3", "6", "编辑框_后三码数", {"8", "1"}},
};

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
    if (std::string(s.section) == "3") {
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

// Which set a value belongs to: 0, 1, -1 for both (no evidence), -2 for neither.
int SetOf(const std::string& value, const std::string& set0, const std::string& set1) {
  if (value == set0 && value == set1) return -1;
  if (value == set0) return 0;
  if (value == set1) return 1;
  return -2;
}

// The sets of the keys in save order may change at most once: the keys
// already saved carry the new set, the rest the old one.
int SetChanges(const std::vector<int>& sets) {
  int changes = 0;
  int last = -1;
  for (int set : sets) {
    if (set < 0) continue;
    if (last >= 0 && set != last) ++changes;
    last = set;
  }
  return changes;
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
        ASSERT_TRUE(settings::WriteIniKey(
                        presets, std::to_string(kind), std::to_string(key),
                        plan::EncodeFormulaText("CDE*" + std::to_string(key * kind)).value())
                        .ok());
      }
    }
    std::ofstream(dir.path() / "once.txt") << SaveCommands(0) << "quit\n";
    SaveSetZeroWhole();
    otherKinds = OtherKindLines();
    ASSERT_EQ(otherKinds.size(), 22u);

    std::ofstream loop(dir.path() / "loop.txt");
    for (int round = 0; round < 2000; ++round) loop << SaveCommands(1 - round % 2);
  }

  // Every killed run starts from set 0 saved whole, so that the keys it saves
  // before the kill are exactly the set-1 prefix the checks look for.
  void SaveSetZeroWhole() {
    pid_t pid = StartConsole(dir.path(), dir.path() / "once.txt");
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }

  // The lines of sections 2 and 3 of gs.ini.
  std::vector<std::string> OtherKindLines() const {
    std::vector<std::string> kept;
    bool inOther = false;
    for (const std::string& line : Lines(ReadAll(dir.path() / "gs.ini"))) {
      if (line.starts_with("[")) inOther = line != "[1]";
      if (inOther) kept.push_back(line);
    }
    return kept;
  }

  // Checks both files; true when either holds a mix of the two sets.
  bool CheckFiles() {
    bool mixed = false;
    {
      SCOPED_TRACE("sz.ini");
      const std::string bytes = ReadAll(dir.path() / "sz.ini");
      const std::vector<std::string> lines = Lines(base::DecodeGbkOrUtf8(bytes));
      EXPECT_EQ(lines.size(), 23u) << bytes;  // three section lines and twenty keys
      std::vector<int> sets;
      for (const SettingKey& s : kSettings) {
        const std::string value =
            settings::ReadIniKey(dir.path() / "sz.ini", s.section, s.key, "<missing>");
        sets.push_back(SetOf(value, s.values[0], s.values[1]));
        EXPECT_NE(sets.back(), -2) << s.section << "/" << s.key << " = " << value;
      }
      EXPECT_LE(SetChanges(sets), 1);
      mixed = mixed || SetChanges(sets) == 1;
    }
    {
      SCOPED_TRACE("gs.ini");
      const plan::PresetFormulas formulas =
          plan::LoadPresetFormulas(dir.path(), plan::PlanKind::Position);
      std::vector<int> sets;
      for (int i = 0; i < 10; ++i) {
        sets.push_back(SetOf(formulas[i], Formula(0, i), Formula(1, i)));
        EXPECT_NE(sets.back(), -2) << "preset " << i + 1 << " = " << formulas[i];
      }
      EXPECT_LE(SetChanges(sets), 1);
      mixed = mixed || SetChanges(sets) == 1;
      EXPECT_EQ(OtherKindLines(), otherKinds);
      EXPECT_EQ(Lines(ReadAll(dir.path() / "gs.ini")).size(), 33u);
    }
    return mixed;
  }

  TempDir dir;
  std::vector<std::string> otherKinds;
};

TEST_F(CrashSafeFilesTest, KilledWhileSavingLeavesWholeFiles) {
  std::mt19937 random(20140105);
  const int kills = 30;
  int mixed = 0;
  int leftovers = 0;
  for (int k = 0; k < kills; ++k) {
    SCOPED_TRACE("kill " + std::to_string(k));
    const auto before = fs::last_write_time(dir.path() / "sz.ini");
    ASSERT_FALSE(CheckFiles()) << "set 0 was not saved whole";
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
    mixed += CheckFiles() ? 1 : 0;
    if (HasFatalFailure() || HasFailure()) break;
    // A temporary file the kill left behind is litter, never the settings.
    for (const auto& entry : fs::directory_iterator(dir.path())) {
      if (entry.path().filename().string().find(".tmp") != std::string::npos) {
        ++leftovers;
        fs::remove(entry.path());
      }
    }
    SaveSetZeroWhole();
  }
  std::cout << kills << " kills, " << mixed << " left a file half of one set, half of the other; "
            << leftovers << " temporary files left behind\n";
}

}  // namespace
