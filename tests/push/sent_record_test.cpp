#include "push/sent_record.h"

#include <gtest/gtest.h>

#include "base/atomic_file.h"
#include "temp_dir.h"

namespace push {
namespace {

TEST(SentRecord, KeepsTheLastIssuePerGroup) {
  TempDir dir;
  const auto file = dir.path() / "push_sent.ini";
  ASSERT_TRUE(ReadSentRecord(file).ok());
  EXPECT_TRUE(ReadSentRecord(file).value().empty());

  ASSERT_TRUE(RecordSent(file, "一群", "20240101-058").ok());
  ASSERT_TRUE(RecordSent(file, "[二]群 = x", "20240101-058").ok());
  ASSERT_TRUE(RecordSent(file, "一群", "20240101-059").ok());
  const base::Result<SentRecord> record = ReadSentRecord(file);
  ASSERT_TRUE(record.ok());
  EXPECT_EQ(record.value(), (SentRecord{{"一群", "20240101-059"}, {"[二]群 = x", "20240101-058"}}));
}

TEST(SentRecord, LineBreaksAreRefusedAndTheRecordKept) {
  TempDir dir;
  const auto file = dir.path() / "push_sent.ini";
  ASSERT_TRUE(RecordSent(file, "a", "1").ok());
  EXPECT_FALSE(RecordSent(file, "a\n[b]", "2").ok());
  EXPECT_FALSE(RecordSent(file, "a", "2\nissue=3").ok());
  EXPECT_EQ(ReadSentRecord(file).value(), (SentRecord{{"a", "1"}}));
}

TEST(SentRecord, AnUnreadableRecordIsAnErrorNotAnEmptyOne) {
  TempDir dir;
  const auto file = dir.path() / "push_sent.ini";
  std::filesystem::create_directory(file);
  EXPECT_FALSE(ReadSentRecord(file).ok());
  EXPECT_FALSE(RecordSent(file, "a", "1").ok());
  EXPECT_TRUE(std::filesystem::is_directory(file));
}

}  // namespace
}  // namespace push
