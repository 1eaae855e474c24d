#include "app/draw_file_commands.h"

#include <chrono>
#include <ctime>
#include <ostream>

#include "archive/draw_export.h"
#include "archive/draw_import.h"
#include "archive/draw_store.h"
#include "lottery/lottery.h"

namespace app {
namespace {

std::chrono::local_seconds LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return std::chrono::local_seconds(std::chrono::seconds(now + local.tm_gmtoff));
}

}  // namespace

int RunDrawFileCommands(const Options& options, std::ostream& out, std::ostream& err) {
  auto opened = archive::DrawStore::Open(options.dataDir / archive::kArchiveFileName,
                                         lottery::Chongqing(), LocalNow());
  if (!opened) {
    err << "lanzhou: " << opened.error().message << "\n";
    return 1;
  }
  if (!opened.value().notice.empty()) err << "lanzhou: " << opened.value().notice << "\n";
  archive::DrawStore& store = opened.value().store;
  if (!options.importDraws.empty()) {
    auto report = archive::ImportDrawFile(store, options.importDraws,
                                          "import " + options.importDraws.string(), LocalNow());
    if (!report) {
      err << "lanzhou: " << report.error().message << "\n";
      return 1;
    }
    out << archive::FormatImportReport(report.value());
  }
  if (!options.exportDraws.empty()) {
    auto exported = archive::ExportDrawFile(store, options.exportDraws);
    if (!exported) {
      err << "lanzhou: " << exported.error().message << "\n";
      return 1;
    }
    out << archive::FormatExportReport(exported.value()) << "\n";
  }
  return 0;
}

}  // namespace app
