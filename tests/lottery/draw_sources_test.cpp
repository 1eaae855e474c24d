#include "lottery/draw_sources.h"

#include <gtest/gtest.h>

#include "storage/ini_file.h"
#include "temp_dir.h"

namespace {

TEST(DrawSources, MissingFileMeansTheLocalMirror) {
  TempDir dir;
  const lottery::DrawSources sources = lottery::LoadDrawSources(dir.path());
  EXPECT_EQ(sources.history, "http://127.0.0.1:18733");
  EXPECT_EQ(sources.feed1, "http://127.0.0.1:18733");
  EXPECT_EQ(sources.feed2, "http://127.0.0.1:18733");
  EXPECT_EQ(sources.video, "http://127.0.0.1:18733");
  EXPECT_EQ(sources.announcement, "http://127.0.0.1:18733/announcement.html");
}

TEST(DrawSources, KeysOverrideOneByOne) {
  TempDir dir;
  const auto file = dir.path() / "sources.ini";
  ASSERT_TRUE(storage::WriteIniKey(file, "sources", "video", " http://video.example:81/ ").ok());
  ASSERT_TRUE(storage::WriteIniKey(file, "sources", "feed2", "feeds.example").ok());
  ASSERT_TRUE(storage::WriteIniKey(file, "sources", "history", "  ").ok());
  ASSERT_TRUE(
      storage::WriteIniKey(file, "sources", "announcement", "http://news.example/a.html?x=1").ok());
  ASSERT_TRUE(storage::WriteIniKey(file, "other", "feed1", "http://wrong.example").ok());

  const lottery::DrawSources sources = lottery::LoadDrawSources(dir.path());
  EXPECT_EQ(sources.video, "http://video.example:81");
  EXPECT_EQ(sources.feed2, "feeds.example");
  EXPECT_EQ(sources.history, "http://127.0.0.1:18733");
  EXPECT_EQ(sources.feed1, "http://127.0.0.1:18733");
  EXPECT_EQ(sources.announcement, "http://news.example/a.html?x=1");
}

}  // namespace
