#include "push/sent_record.h"

#include <optional>

#include "base/atomic_file.h"
#include "base/text.h"
#include "storage/ini_file.h"

namespace push {
namespace {

SentRecord Parse(std::string_view content) {
  SentRecord record;
  std::optional<std::string_view> group;
  for (const storage::IniLine& line : storage::SplitIniLines(content)) {
    if (line.section) {
      group = line.section;
    } else if (group && base::EqualsNoCase(line.key, "issue")) {
      record.insert_or_assign(std::string(*group), std::string(line.value));
    }
  }
  return record;
}

std::string Serialize(const SentRecord& record) {
  std::string content;
  for (const auto& [group, issue] : record) content += "[" + group + "]\nissue=" + issue + "\n";
  return content;
}

}  // namespace

base::Result<SentRecord> ReadSentRecord(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec) && !ec) return SentRecord{};
  base::Result<std::string> content = base::ReadSmallFile(file);
  if (!content) return base::Error{"无法读取发送记录"};
  return Parse(content.value());
}

base::Status RecordSent(const std::filesystem::path& file, std::string_view group,
                        std::string_view issue) {
  if (group.find_first_of("\r\n") != std::string_view::npos ||
      issue.find_first_of("\r\n") != std::string_view::npos) {
    return base::Error{"发送记录不能含有换行"};
  }
  base::Result<SentRecord> record = ReadSentRecord(file);
  if (!record) return record.error();
  record.value().insert_or_assign(std::string(group), std::string(issue));
  if (!base::WriteFileAtomically(file, Serialize(record.value()))) {
    return base::Error{"无法写入发送记录"};
  }
  return base::Ok{};
}

}  // namespace push
