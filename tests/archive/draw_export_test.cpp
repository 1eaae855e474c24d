#include "archive/draw_export.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "temp_dir.h"

namespace archive {
namespace {

using namespace std::chrono;

const local_seconds kNow = local_days(2024y / January / 2d) + 3h + 4min + 5s;

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class DrawExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto opened = DrawStore::Open(dir.path() / "draws.db", lottery::Chongqing(), kNow);
    ASSERT_TRUE(opened.ok()) << opened.error().message;
    store.emplace(std::move(opened.value().store));
  }

  TempDir dir;
  std::optional<DrawStore> store;
};

TEST_F(DrawExportTest, WritesEveryDrawOldestFirstAsCsvWithAHeader) {
  const std::vector<lottery::Draw> draws = {
      {"20160117-001", "33333"}, {"20160116-120", "22222"}, {"20151231-005", "11111"}};
  ASSERT_TRUE(store->Store(draws, "refresh", kNow).ok());
  const auto file = dir.path() / "out.csv";
  std::ofstream(file) << "an older export that is replaced\n";

  auto exported = ExportDrawFile(*store, file);
  ASSERT_TRUE(exported.ok()) << exported.error().message;
  EXPECT_EQ(FormatExportReport(exported.value()), "exported 3");
  EXPECT_EQ(ReadBytes(file),
            "issue,code\n20151231-005,11111\n20160116-120,22222\n20160117-001,33333\n");
}

TEST_F(DrawExportTest, AnEmptyArchiveExportsTheHeaderAlone) {
  const auto file = dir.path() / "out.csv";
  EXPECT_EQ(ExportDrawFile(*store, file).value(), 0);
  EXPECT_EQ(ReadBytes(file), "issue,code\n");
}

TEST_F(DrawExportTest, AnExportThatCannotBeWrittenLeavesNothingBehind) {
  const std::vector<lottery::Draw> draws = {{"20160116-120", "22222"}};
  ASSERT_TRUE(store->Store(draws, "refresh", kNow).ok());
  auto exported = ExportDrawFile(*store, dir.path() / "missing" / "out.csv");
  EXPECT_FALSE(exported.ok());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));

  ASSERT_TRUE(ExportDrawFile(*store, dir.path() / "out.csv").ok());
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with("draws.db")) names.push_back(name);
  }
  EXPECT_EQ(names, std::vector<std::string>{"out.csv"});  // no temporary left
}

}  // namespace
}  // namespace archive
