// The real program started (`lanzhou --console`, creation handler and first
// refresh included) beside files that are not what it wrote: empty,
// truncated, binary garbage, 100 MB, a directory, or unreadable (a FIFO, a
// symbolic link to itself; the tests run as root, where a mode of 000 stops
// no read). Each case must start, answer every command, print nothing on
// its error stream, leave the file as it found it, and behave as it does
// with the file missing (or, for a truncated file, as its intact part says).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "lanzhou_program.h"
#include "plan/preset_formula_file.h"
#include "search/sqlite_fixture.h"
#include "storage/ini_file.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct ConsoleRun {
  int status = -1;
  std::string out;
  std::string err;
};

// The console in `dir` (its data directory and working directory) with the
// script as input. A run that outlives its limit is killed and reported.
ConsoleRun RunConsole(const fs::path& dir, const std::string& script, const fs::path& scratch) {
  std::ofstream(scratch / "script.txt") << script << "quit\n";
  const std::string program = LanzhouProgram().string();
  const std::string dataDir = dir.string();
  const fs::path out = scratch / "out.txt", err = scratch / "err.txt";
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dataDir.c_str()) != 0) _exit(126);
    int in = open((scratch / "script.txt").c_str(), O_RDONLY);
    int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(in, STDIN_FILENO);
    dup2(o, STDOUT_FILENO);
    dup2(e, STDERR_FILENO);
    // Sources on a closed port keep the first refresh off any real mirror.
    execl(program.c_str(), program.c_str(), "--console", "--data-dir", dataDir.c_str(), "--clock",
          "2014-03-01T14:34:10", static_cast<char*>(nullptr));
    _exit(127);
  }
  ConsoleRun run;
  int status = 0;
  for (int waited = 0; waitpid(pid, &status, WNOHANG) == 0; waited += 10) {
    if (waited > 60000) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      run.err = "<killed after 60 s>";
      return run;
    }
    std::this_thread::sleep_for(10ms);
  }
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = ReadAll(out);
  run.err = ReadAll(err);
  return run;
}

// ---- what each file's script asks, and the valid file it is made from ----

const char* const kSettingsControls[] = {
    "选择框_定位更新", "选择框_后二更新",    "选择框_后三更新", "单选框_数据源1",
    "单选框_数据源2",  "单选框_万",          "单选框_千",       "单选框_百",
    "单选框_十",       "单选框_个",          "单选框_后二复试", "单选框_后二直选复试",
    "单选框_后三组选", "单选框_后三直选复试"};
const char* const kSettingsNumbers[] = {"编辑框_定位期数", "编辑框_定位码数", "编辑框_后二期数",
                                        "编辑框_后二码数", "编辑框_后三期数", "编辑框_后三码数"};

std::string DrawRows() {
  std::string lines;
  std::mt19937 random(7);
  for (int sequence = 40; sequence >= 1; --sequence) {
    char line[96];
    std::snprintf(line, sizeof line, "insert 列表框_开奖 0 20140301-%03d\\t%05u\n", 41 - sequence,
                  static_cast<unsigned>(random() % 100000));
    lines += line;
  }
  return lines;
}

struct HostileFile {
  const char* name;
  std::string script;  // the queries that show what the file did
  void (*writeValid)(const fs::path& file);
  std::size_t truncateAt;  // where the truncated case cuts the valid file
};

void WriteValidSettings(const fs::path& file) {
  for (int key = 1; key <= 3; ++key) {
    ASSERT_TRUE(storage::WriteIniKey(file, "1", std::to_string(key), "真").ok());
  }
  for (int key = 1; key <= 11; ++key) {
    ASSERT_TRUE(storage::WriteIniKey(file, "2", std::to_string(key), key % 3 ? "假" : "真").ok());
  }
  for (int key = 1; key <= 6; ++key) {
    ASSERT_TRUE(storage::WriteIniKey(file, "3", std::to_string(key), std::to_string(key)).ok());
  }
}

void WriteValidPresets(const fs::path& file) {
  const char* formulas[] = {"DCC*657", "ABC+1", "EDA*3", "BB*21", "CA+7",
                            "DE*19",   "AE+5",  "CC*8",  "BD+11", "EA*4"};
  for (int kind = 1; kind <= 3; ++kind) {
    for (int key = 1; key <= 10; ++key) {
      ASSERT_TRUE(storage::WriteIniKey(file, std::to_string(kind), std::to_string(key),
                                       plan::EncodeFormulaText(formulas[key - 1]).value())
                      .ok());
    }
  }
}

void WriteValidSources(const fs::path& file) {
  // The announcement comes first so a cut in the last key leaves it whole.
  ASSERT_TRUE(storage::WriteIniKey(file, "sources", "announcement",
                                   "http://127.0.0.1:1/custom-announcement.html")
                  .ok());
  for (const char* key : {"history", "feed1", "feed2", "video"}) {
    ASSERT_TRUE(storage::WriteIniKey(file, "sources", key, "http://127.0.0.1:1").ok());
  }
}

void WriteValidLibrary(const fs::path& file) {
  std::string sql = "CREATE TABLE records (编号 INTEGER, 定位公式 TEXT);";
  const char letters[] = "ABCDE";
  for (int i = 0; i < 300; ++i) {
    std::string formula = {letters[i % 5], letters[i / 5 % 5], '*', static_cast<char>('1' + i % 9)};
    sql += "INSERT INTO records VALUES (" + std::to_string(i) + ", '" + formula +
           std::to_string(i) + "');";
  }
  RunSql(file, sql);
}

void WriteValidRecord(const fs::path& file) {
  RunSql(file,
         "CREATE TABLE records (甲 TEXT, 乙 TEXT, 丙 TEXT);"
         "INSERT INTO records VALUES ('', '', '');");
}

const std::vector<HostileFile>& Files() {
  static const std::vector<HostileFile> files = [] {
    std::string settingsScript;
    for (const char* name : kSettingsControls)
      settingsScript += "checked " + std::string(name) + "\n";
    for (const char* name : kSettingsNumbers) settingsScript += "text " + std::string(name) + "\n";
    const std::string planScript = DrawRows() +
                                   "set 透明标签_显示期号 20140301-040\n"
                                   "clearitems 组合框_定位起始期1\n"
                                   "additem 组合框_定位起始期1 20140301-030\n"
                                   "select 组合框_定位起始期1 0\n"
                                   "click 按钮_定位开始\n"
                                   "text 编辑框_后一结果\n"
                                   "text 超级按钮_后一1\n"
                                   "text 超级按钮_后一2\n"
                                   "text 超级按钮_后一10\n";
    const std::string searchScript = DrawRows() +
                                     "clearitems 组合框_搜起始期\n"
                                     "additem 组合框_搜起始期 20140301-020\n"
                                     "select 组合框_搜起始期 0\n"
                                     "click 按钮_搜开始\n"
                                     "count 超级列表框_搜索\n"
                                     "cell 超级列表框_搜索 0 1\n"
                                     "text 标签_搜索提示\n";
    const std::string recordScript = DrawRows() +
                                     "insert 超级列表框_搜索 -1 1\\tDCC*657\\t90%\n"
                                     "setrow 超级列表框_搜索 0\n"
                                     "event 超级列表框_搜索 rowclick\n"
                                     "click 按钮_搜使用公式\n"
                                     "page 高级选择夹_计划总\n"
                                     "text 编辑框_后一结果\n";
    return std::vector<HostileFile>{
        {"sz.ini", settingsScript, WriteValidSettings, 60},
        {"gs.ini", planScript, WriteValidPresets, 30},
        // Sources on a closed port in every case but the broken file's
        // own: those fall back to the local mirror's address.
        {"sources.ini", "address 超文本浏览框1\n", WriteValidSources, 150},
        {"gssjj.dll", searchScript, WriteValidLibrary, 4096 + 512},
        {"jhgsj.dll", recordScript, WriteValidRecord, 2048},
    };
  }();
  return files;
}

// ---- the hostile forms ----

enum class Form { Empty, Truncated, Garbage, Huge, Directory, Fifo, SelfLink };

struct Case {
  const HostileFile* file;
  Form form;
  const char* formName;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.file->name << " " << c.formName; }

// Makes the hostile form of `file` at `path`.
void Make(const Case& c, const fs::path& path) {
  switch (c.form) {
    case Form::Empty:
      std::ofstream(path, std::ios::binary);
      break;
    case Form::Truncated: {
      c.file->writeValid(path);
      ASSERT_GT(fs::file_size(path), c.file->truncateAt);
      fs::resize_file(path, c.file->truncateAt);
      break;
    }
    case Form::Garbage: {
      std::mt19937 random(8);
      std::string bytes(4096, '\0');
      for (char& b : bytes) b = static_cast<char>(random());
      std::ofstream(path, std::ios::binary) << bytes;
      break;
    }
    case Form::Huge:
      // Sparse: 100 MB of zeros without writing them.
      std::ofstream(path, std::ios::binary);
      fs::resize_file(path, 100u << 20);
      break;
    case Form::Directory:
      fs::create_directory(path);
      std::ofstream(path / "inside.txt") << "x";
      break;
    case Form::Fifo:
      ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
      break;
    case Form::SelfLink:
      fs::create_symlink(path.filename(), path);
      break;
  }
}

// What the file is afterwards, to see it was left alone.
std::string Fingerprint(const fs::path& path) {
  std::error_code ec;
  const auto status = fs::symlink_status(path, ec);
  if (ec || !fs::exists(status)) return "missing";
  if (fs::is_symlink(status)) return "link to " + fs::read_symlink(path).string();
  if (fs::is_directory(status)) return "directory";
  if (fs::is_fifo(status)) return "fifo";
  if (fs::file_size(path) > (1u << 20)) return "size " + std::to_string(fs::file_size(path));
  return ReadAll(path);
}

void WriteClosedSources(const fs::path& dir) {
  for (const char* key : {"history", "feed1", "feed2", "video"}) {
    ASSERT_TRUE(
        storage::WriteIniKey(dir / "sources.ini", "sources", key, "http://127.0.0.1:1").ok());
  }
}

// A data directory lacking a file the program ships (presets, library)
// receives a copy; for those a file the program reads as holding no presets
// or no library stands for the missing one.
void WriteNothing(const HostileFile& file, const fs::path& path) {
  const std::string name = file.name;
  if (name == "gs.ini") std::ofstream(path, std::ios::binary) << "; no presets\r\n";
  if (name == "gssjj.dll") RunSql(path, "CREATE TABLE other (x);");
}

// The run of a file's script with the file missing or valid, made once.
const ConsoleRun& Reference(const HostileFile& file, bool valid) {
  static std::map<std::pair<std::string, bool>, ConsoleRun> runs;
  auto key = std::pair{std::string(file.name), valid};
  if (!runs.contains(key)) {
    TempDir dir, scratch;
    if (std::string(file.name) != "sources.ini") WriteClosedSources(dir.path());
    if (valid) {
      file.writeValid(dir.path() / file.name);
    } else {
      WriteNothing(file, dir.path() / file.name);
    }
    runs[key] = RunConsole(dir.path(), file.script, scratch.path());
  }
  return runs[key];
}

std::vector<std::string> OutputLines(const std::string& out) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  for (std::size_t end; (end = out.find('\n', at)) != std::string::npos; at = end + 1) {
    lines.push_back(out.substr(at, end - at));
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

// What the script answers for the case. A file the program cannot read as a
// regular file of a sensible size counts as missing, and so does a key the
// file lacks: an empty or garbage sz.ini leaves every box as the form has it.
// A truncated file keeps what stands before the cut.
std::string Expected(const Case& c, const std::string& missing, const std::string& valid) {
  const std::string name = c.file->name;
  if (name == "sz.ini" && c.form == Form::Truncated) {
    // 14 boxes, then 6 number boxes. Cut at byte 60, the file keeps section
    // "1" and keys 1 to 6 of section "2" (key 6 with an empty value, which
    // checks 单选框_十 as "真" does and so takes 单选框_个's check away, as
    // the whole file does); the rest keep their form values.
    const std::vector<std::string> validLines = OutputLines(valid);
    std::vector<std::string> lines = OutputLines(missing);
    for (int i = 0; i < 10; ++i) lines[i] = validLines[i];
    return JoinLines(lines);
  }
  if (c.form == Form::Truncated && name == "gs.ini") {
    // Preset 1 of kind 1 is whole, preset 2 cut to nothing.
    std::vector<std::string> lines = OutputLines(missing);
    const std::vector<std::string> validLines = OutputLines(valid);
    lines[0] = validLines[0];
    lines[1] = validLines[1];
    return JoinLines(lines);
  }
  // The announcement key stands before the cut.
  if (c.form == Form::Truncated && name == "sources.ini") return valid;
  return missing;
}

class HostileFilesTest : public ::testing::TestWithParam<Case> {};

TEST_P(HostileFilesTest, StartsSaysNothingAndUsesWhatIsUsable) {
  ASSERT_TRUE(fs::exists(LanzhouProgram())) << LanzhouProgram();
  const Case& c = GetParam();
  const HostileFile& file = *c.file;
  const ConsoleRun& missing = Reference(file, false);
  const ConsoleRun& valid = Reference(file, true);
  // The scripts tell a usable file from a missing one; otherwise this case
  // could not see the program ignore the file.
  ASSERT_EQ(missing.status, 0) << missing.out << missing.err;
  if (std::string(file.name) != "jhgsj.dll") {
    ASSERT_NE(valid.out, missing.out) << file.name;
  }

  TempDir dir, scratch;
  if (std::string(file.name) != "sources.ini") WriteClosedSources(dir.path());
  const fs::path path = dir.path() / file.name;
  Make(c, path);
  const std::string before = Fingerprint(path);

  const ConsoleRun run = RunConsole(dir.path(), file.script, scratch.path());

  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.find("error:"), std::string::npos) << run.out;
  EXPECT_EQ(Fingerprint(path), before) << "the program changed the file";
  EXPECT_EQ(run.out, Expected(c, missing.out, valid.out));
}

// With the valid record file the script records the formula it used: the
// record file is written, yet the answers are the same as without it.
TEST(HostileFilesRecordTest, ValidRecordFileTakesTheUsedFormula) {
  TempDir dir, scratch;
  WriteClosedSources(dir.path());
  WriteValidRecord(dir.path() / "jhgsj.dll");
  const ConsoleRun run = RunConsole(dir.path(), Files().back().script, scratch.path());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(QueryText(dir.path() / "jhgsj.dll", "SELECT 甲 FROM records"), "DCC*657");
  EXPECT_EQ(run.out, Reference(Files().back(), false).out);
}

std::vector<Case> Cases() {
  std::vector<Case> cases;
  const std::pair<Form, const char*> forms[] = {
      {Form::Empty, "empty"},      {Form::Truncated, "truncated"}, {Form::Garbage, "garbage"},
      {Form::Huge, "huge"},        {Form::Directory, "directory"}, {Form::Fifo, "fifo"},
      {Form::SelfLink, "selflink"}};
  for (const HostileFile& file : Files()) {
    for (auto [form, name] : forms) cases.push_back({&file, form, name});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Files, HostileFilesTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                           std::string name;
                           for (char ch : std::string(param.param.file->name)) {
                             if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
                           }
                           return name + "_" + param.param.formName;
                         });

}  // namespace
