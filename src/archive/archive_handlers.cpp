#include "archive/archive_handlers.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include "archive/archive_state.h"
#include "archive/archive_summary.h"
#include "archive/draw_export.h"
#include "archive/draw_import.h"
#include "draws/draw_list_reading.h"
#include "lottery/lottery.h"

namespace archive {
namespace {

constexpr const char* kSummaryLabel = "标签_号码库";
constexpr const char* kStatusLabel = "标签_回测进度";
constexpr const char* kFileBox = "编辑框_号码文件";

std::chrono::local_seconds Seconds(base::LocalTime time) {
  return std::chrono::floor<std::chrono::seconds>(time);
}

void ShowSummary(core::Context& ctx) {
  auto summary = ctx.archive.store->Summary();
  ctx.window.SetText(kSummaryLabel, summary
                                        ? FormatArchiveSummary(summary.value())
                                        : "号码库：无法读取（" + summary.error().message + "）");
}

}  // namespace

bool OpenArchive(core::Context& ctx) {
  if (ctx.archive.store) return true;
  auto opened =
      DrawStore::Open(ctx.dataDir / kArchiveFileName, ctx.lottery, Seconds(ctx.window.Now()));
  if (!opened) {
    ctx.window.SetText(kStatusLabel, "号码库无法打开：" + opened.error().message);
    return false;
  }
  if (!opened.value().notice.empty()) ctx.window.SetText(kStatusLabel, opened.value().notice);
  ctx.archive.store.emplace(std::move(opened.value().store));
  ShowSummary(ctx);
  return true;
}

void ShowExistingArchive(core::Context& ctx) {
  std::error_code error;
  // A file that cannot even be looked at is said by the open that stores into it.
  if (!std::filesystem::exists(ctx.dataDir / kArchiveFileName, error)) return;
  OpenArchive(ctx);
}

void StoreDrawList(core::Context& ctx, std::string_view source) {
  if (!OpenArchive(ctx)) return;
  // Oldest first, as the draws came to pass.
  std::vector<lottery::Draw> listed = draws::ReadDrawList(ctx.window);
  std::reverse(listed.begin(), listed.end());
  auto stored = ctx.archive.store->Store(listed, source, Seconds(ctx.window.Now()));
  if (!stored) {
    ctx.window.SetText(kSummaryLabel, "号码库：保存失败（" + stored.error().message + "）");
    return;
  }
  ShowSummary(ctx);
  ctx.events.Raise(core::Event::ArchiveChanged);
}

std::vector<lottery::Draw> NewestArchivedDraws(core::Context& ctx, std::size_t n) {
  if (!OpenArchive(ctx)) return {};
  auto newest = ctx.archive.store->Newest(n);
  return newest ? std::move(newest.value()) : std::vector<lottery::Draw>{};
}

void ImportDrawsClicked(core::Context& ctx) {
  const std::string file = ctx.window.Text(kFileBox);
  if (file.empty()) {
    ctx.window.SetText(kSummaryLabel, "请先填写号码文件");
    return;
  }
  if (!OpenArchive(ctx)) return;
  auto report =
      ImportDrawFile(*ctx.archive.store, file, "import " + file, Seconds(ctx.window.Now()));
  ctx.window.SetText(kSummaryLabel, report ? ImportSummaryLine(report.value())
                                           : "导入失败：" + report.error().message);
  ctx.events.Raise(core::Event::ArchiveChanged);
}

void ExportDrawsClicked(core::Context& ctx) {
  const std::string file = ctx.window.Text(kFileBox);
  if (file.empty()) {
    ctx.window.SetText(kSummaryLabel, "请先填写号码文件");
    return;
  }
  if (!OpenArchive(ctx)) return;
  auto exported = ExportDrawFile(*ctx.archive.store, file);
  ctx.window.SetText(kSummaryLabel, exported ? FormatExportReport(exported.value())
                                             : "导出失败：" + exported.error().message);
}

void BindArchiveHandlers(core::Context& ctx) {
  ui::Window& window = ctx.window;
  window.Bind("超级按钮_导入号码", ui::Event::Click, [&ctx](int) { ImportDrawsClicked(ctx); });
  window.Bind("超级按钮_导出号码", ui::Event::Click, [&ctx](int) { ExportDrawsClicked(ctx); });
  window.Bind("按钮_号码文件", ui::Event::Click, [&ctx](int) {
    if (auto path = ctx.window.AskFilePath("号码文件")) ctx.window.SetText(kFileBox, *path);
  });
  ctx.events.Subscribe(core::Event::DrawsRefreshed, core::Stage::Archive,
                       [&ctx] { StoreDrawList(ctx, "refresh"); });
  ctx.events.Subscribe(core::Event::DrawInserted, core::Stage::Archive,
                       [&ctx] { StoreDrawList(ctx, "update"); });
}

}  // namespace archive
