#include "settings/settings_file.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/atomic_file.h"
#include "base/codepage.h"
#include "storage/ini_file.h"

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

// Each plan page's own formula: 自定义 and 所用公式, position, two-star,
// three-star.
constexpr std::array<std::string_view, 3> kOwnFormulaBoxes = {
    "选择框_定位自定义公式",
    "选择框_二星自定义公式",
    "选择框_三星自定义公式",
};

constexpr std::array<std::string_view, 3> kOwnFormulaTexts = {
    "编辑框_定位公式",
    "编辑框_二星公式",
    "编辑框_三星公式",
};

enum class Stored { CheckState, Text };

struct Section {
  std::string_view name;
  Stored stored;
  std::span<const std::string_view> controls;
};

// In the order a new file is written.
constexpr std::array<Section, 5> kSections = {{
    {"1", Stored::CheckState, kAutoUpdateBoxes},
    {"2", Stored::CheckState, kRadioBoxes},
    {"3", Stored::Text, kNumberBoxes},
    {"4", Stored::CheckState, kOwnFormulaBoxes},
    {"5", Stored::Text, kOwnFormulaTexts},
}};

// A text is written as it is, unless reading it back would change it: blanks
// at either end are dropped and a pair of quotes around it is taken off on
// read, so such a text goes in quotes.
std::string StoredText(const std::string& text) {
  if (text.empty()) return text;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  const bool quoted = text.size() >= 2 && text.front() == text.back() &&
                      (text.front() == '"' || text.front() == '\'');
  if (!blank(text.front()) && !blank(text.back()) && !quoted) return text;
  return '"' + text + '"';
}

}  // namespace

std::filesystem::path SettingsFilePath(const core::Env& ctx) { return ctx.dataDir / "sz.ini"; }

base::Status SaveSettings(const core::Env& ctx) {
  std::vector<storage::IniEntry> entries;
  for (const Section& section : kSections) {
    for (std::size_t i = 0; i < section.controls.size(); ++i) {
      const std::string control(section.controls[i]);
      std::string value = section.stored == Stored::CheckState
                              ? std::string(ctx.window.Checked(control) ? kChecked : kUnchecked)
                              : StoredText(ctx.window.Text(control));
      entries.push_back({std::string(section.name), std::to_string(i + 1), std::move(value)});
    }
  }
  const auto path = SettingsFilePath(ctx);
  auto saved = storage::WriteIniKeys(path, entries);
  if (!saved) {
    ctx.window.MessageBox("保存设置",
                          "无法保存设置：" + path.string() + "\n" + saved.error().message);
  }
  return saved;
}

void LoadSettings(const core::Env& ctx) {
  // One read for all keys. A file that exists but cannot be read is treated
  // as absent, and so is a key it lacks: an empty or damaged file would
  // otherwise uncheck both data sources and empty the number boxes, leaving
  // the first refresh and the plans without settings, and a file from before
  // the own formulas would empty them.
  auto bytes = base::ReadSmallFile(SettingsFilePath(ctx));
  if (!bytes) return;
  const std::string content = base::DecodeGbkOrUtf8(bytes.value());

  for (const Section& section : kSections) {
    for (std::size_t i = 0; i < section.controls.size(); ++i) {
      auto value = storage::FindIniKey(content, section.name, std::to_string(i + 1));
      if (!value) continue;
      const std::string control(section.controls[i]);
      if (section.stored == Stored::CheckState) {
        ctx.window.SetChecked(control, *value != kUnchecked);
      } else {
        ctx.window.SetText(control, *value);
      }
    }
  }
}

void BindSettingsHandlers(const core::Env& ctx) {
  ctx.window.Bind("超级按钮_保存设置", ui::Event::Click, [&ctx](int) { (void)SaveSettings(ctx); });
}

}  // namespace settings
