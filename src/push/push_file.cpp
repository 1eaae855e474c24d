#include "push/push_file.h"

#include <sys/stat.h>

#include <map>
#include <optional>
#include <set>

#include "base/atomic_file.h"
#include "base/text.h"
#include "storage/ini_file.h"

namespace push {
namespace {

// A group file of a few dozen sections is a few kilobytes.
constexpr size_t kFileLimit = 1u << 20;

bool IsHttpUrl(std::string_view url) {
  size_t schemeLength = 0;
  if (base::StartsWithNoCase(url, "http://")) schemeLength = 7;
  if (base::StartsWithNoCase(url, "https://")) schemeLength = 8;
  if (schemeLength == 0) return false;
  for (char c : url) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F) return false;
  }
  const size_t hostEnd = url.find_first_of("/?#", schemeLength);
  return (hostEnd == std::string_view::npos ? url.size() : hostEnd) > schemeLength;
}

bool IsChecked(std::string_view value) {
  for (std::string_view yes : {"1", "true", "yes", "on"}) {
    if (base::EqualsNoCase(value, yes)) return true;
  }
  return false;
}

std::string ConfigError(const std::string& what) { return "配置错误：" + what; }

using Keys = std::map<std::string, std::string>;  // lower-case key -> first value

std::string Find(const Keys& keys, const std::string& key) {
  const auto found = keys.find(key);
  return found == keys.end() ? std::string() : found->second;
}

Group MakeGroup(std::string name, const Keys& keys) {
  Group group;
  group.name = std::move(name);
  group.url = Find(keys, "url");
  group.secret = Find(keys, "secret");
  group.chatId = Find(keys, "chat_id");
  group.checked = IsChecked(Find(keys, "checked"));
  const std::string type = Find(keys, "type");
  const std::optional<Platform> platform = PlatformNamed(type);
  if (platform) group.platform = *platform;
  if (group.name.empty()) {
    group.configError = ConfigError("群名为空");
  } else if (type.empty()) {
    group.configError = ConfigError("缺少 type");
  } else if (!platform) {
    group.configError = ConfigError("未知的 type");
  } else if (group.url.empty()) {
    group.configError = ConfigError("缺少 url");
  } else if (!IsHttpUrl(group.url)) {
    group.configError = ConfigError("url 不是 http/https 地址");
  } else if (group.platform == Platform::kTelegram && group.chatId.empty()) {
    group.configError = ConfigError("缺少 chat_id");
  }
  return group;
}

}  // namespace

std::vector<Group> ParseGroups(std::string_view content) {
  std::vector<std::pair<std::string, Keys>> sections;
  for (const storage::IniLine& line : storage::SplitIniLines(content)) {
    if (line.section) {
      sections.emplace_back(std::string(*line.section), Keys{});
    } else if (!line.key.empty() && !sections.empty()) {
      std::string key(line.key);
      for (char& c : key) c = base::AsciiLower(c);
      sections.back().second.emplace(std::move(key), std::string(line.value));
    }
  }
  std::vector<Group> groups;
  std::set<std::string> names;
  for (auto& [name, keys] : sections) {
    Group group = MakeGroup(name, keys);
    // The name is what the sent record and the check write-back go by.
    if (!names.insert(name).second) group.configError = ConfigError("群名重复");
    groups.push_back(std::move(group));
  }
  return groups;
}

base::Result<std::vector<Group>> ReadGroups(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return base::Error{"没有 push.ini"};
  base::Result<std::string> content = base::ReadSmallFile(file, kFileLimit);
  if (!content) return base::Error{"无法读取 push.ini"};
  return ParseGroups(content.value());
}

std::string SetCheckedStates(std::string_view content, const std::vector<Group>& groups) {
  std::map<std::string, bool, std::less<>> wanted;
  for (const Group& group : groups) wanted.emplace(group.name, group.checked);

  const std::vector<storage::IniLine> lines = storage::SplitIniLines(content);
  std::string_view newline = "\n";
  for (const storage::IniLine& line : lines) {
    if (!line.end.empty()) {
      newline = line.end;
      break;
    }
  }
  auto checkedLine = [](bool checked) { return std::string("checked=") + (checked ? "1" : "0"); };

  std::string out;
  out.reserve(content.size() + 64);
  std::optional<bool> state;          // the current section's wanted state
  bool sectionHasKey = false;         // it has a checked= line
  std::optional<size_t> insertAfter;  // out's length after its last key line
  auto closeSection = [&] {
    if (state && !sectionHasKey && insertAfter) {
      std::string added = checkedLine(*state);
      if (*insertAfter == out.size() && !out.ends_with('\n')) {
        // The file's last line had no ending. A CR it ends with would join a
        // lone LF into its line end, and its value would lose the CR.
        added.insert(0, out.ends_with('\r') ? "\r\n" : newline);
      } else {
        added += newline;
      }
      out.insert(*insertAfter, added);
    }
  };
  for (const storage::IniLine& line : lines) {
    if (line.section) {
      closeSection();
      const auto found = wanted.find(*line.section);
      state = found == wanted.end() ? std::nullopt : std::optional<bool>(found->second);
      sectionHasKey = false;
      out += line.text;
      out += line.end;
      insertAfter = out.size();
      continue;
    }
    if (state && base::EqualsNoCase(line.key, "checked")) {
      out += line.text.substr(0, line.text.find('=') + 1);
      out += *state ? "1" : "0";
      sectionHasKey = true;
    } else {
      out += line.text;
    }
    out += line.end;
    if (!line.key.empty()) insertAfter = out.size();
  }
  closeSection();
  return out;
}

base::Status WriteCheckedStates(const std::filesystem::path& file,
                                const std::vector<Group>& groups) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return base::Error{"没有 push.ini"};
  base::Result<std::string> content = base::ReadSmallFile(file, kFileLimit);
  if (!content) return base::Error{"无法读取 push.ini"};
  using std::filesystem::perms;
  if (!base::WriteFileAtomically(file, SetCheckedStates(content.value(), groups),
                                 perms::owner_read | perms::owner_write)) {
    return base::Error{"无法写入 push.ini"};
  }
  return base::Ok{};
}

bool ReadableByOthers(const std::filesystem::path& file) {
  struct stat status {};
  if (::stat(file.c_str(), &status) != 0) return false;
  return (status.st_mode & (S_IRGRP | S_IROTH)) != 0;
}

const std::string& PermissionHint() {
  static const std::string hint =
      "提示：push.ini 可被其他用户读取，请改为仅本人可读写（chmod 600）";
  return hint;
}

}  // namespace push
