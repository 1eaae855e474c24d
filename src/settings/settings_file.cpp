#include "settings/settings_file.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/atomic_file.h"
#include "base/codepage.h"
#include "settings/ini_file.h"

namespace settings {
namespace {

constexpr std::string_view kChecked = "真";
constexpr std::string_view kUnchecked = "假";

// Key i of a section is the i-th control of its list (1-based). The order is
// what older files were written with; never reorder it.
constexpr std::array<std::string_view, 3> kAutoUpdateBoxes = {
    "选择框_定位更新",
    "选择框_后二更新",
    "选择框_后三更新",
};

constexpr std::array<std::string_view, 11> kRadioBoxes = {
    "单选框_数据源1",      "单选框_数据源2",  "单选框_万",           "单选框_千",
    "单选框_百",           "单选框_十",       "单选框_个",           "单选框_后二复试",
    "单选框_后二直选复试", "单选框_后三组选", "单选框_后三直选复试",
};

constexpr std::array<std::string_view, 6> kNumberBoxes = {
    "编辑框_定位期数", "编辑框_定位码数", "编辑框_后二期数",
    "编辑框_后二码数", "编辑框_后三期数", "编辑框_后三码数",
};

struct CheckSection {
  std::string_view section;
  std::span<const std::string_view> names;
};

constexpr std::array<CheckSection, 2> kCheckSections = {{
    {"1", kAutoUpdateBoxes},
    {"2", kRadioBoxes},
}};

constexpr std::string_view kNumberSection = "3";

}  // namespace

std::filesystem::path SettingsFilePath(const core::Env& ctx) { return ctx.dataDir / "sz.ini"; }

base::Status SaveSettings(const core::Env& ctx) {
  std::vector<IniEntry> entries;
  for (const auto& group : kCheckSections) {
    for (std::size_t i = 0; i < group.names.size(); ++i) {
      bool checked = ctx.window.Checked(std::string(group.names[i]));
      entries.push_back({std::string(group.section), std::to_string(i + 1),
                         std::string(checked ? kChecked : kUnchecked)});
    }
  }
  for (std::size_t i = 0; i < kNumberBoxes.size(); ++i) {
    entries.push_back({std::string(kNumberSection), std::to_string(i + 1),
                       ctx.window.Text(std::string(kNumberBoxes[i]))});
  }
  const auto path = SettingsFilePath(ctx);
  auto saved = WriteIniKeys(path, entries);
  if (!saved) {
    ctx.window.MessageBox("保存设置",
                          "无法保存设置：" + path.string() + "\n" + saved.error().message);
  }
  return saved;
}

void LoadSettings(const core::Env& ctx) {
  // One read for all twenty keys. A file that exists but cannot be read is
  // treated as absent, and so is a key it lacks: an empty or damaged file
  // would otherwise uncheck both data sources and empty the number boxes,
  // leaving the first refresh and the plans without settings.
  auto bytes = base::ReadSmallFile(SettingsFilePath(ctx));
  if (!bytes) return;
  const std::string content = base::DecodeGbkOrUtf8(bytes.value());

  for (const auto& group : kCheckSections) {
    for (std::size_t i = 0; i < group.names.size(); ++i) {
      auto value = FindIniKey(content, group.section, std::to_string(i + 1));
      if (value) ctx.window.SetChecked(std::string(group.names[i]), *value != kUnchecked);
    }
  }
  for (std::size_t i = 0; i < kNumberBoxes.size(); ++i) {
    auto value = FindIniKey(content, kNumberSection, std::to_string(i + 1));
    if (value) ctx.window.SetText(std::string(kNumberBoxes[i]), *value);
  }
}

void BindSettingsHandlers(const core::Env& ctx) {
  ctx.window.Bind("超级按钮_保存设置", ui::Event::Click, [&ctx](int) { (void)SaveSettings(ctx); });
}

}  // namespace settings
