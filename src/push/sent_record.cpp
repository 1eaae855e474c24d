#include "push/sent_record.h"

#include "base/atomic_file.h"

namespace push {
namespace {

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

SentRecord Parse(std::string_view content) {
  SentRecord record;
  std::string_view group;
  bool inGroup = false;
  for (size_t at = 0; at < content.size();) {
    size_t end = content.find('\n', at);
    if (end == std::string_view::npos) end = content.size();
    const std::string_view line = Trim(content.substr(at, end - at));
    at = end + 1;
    const size_t close = line.rfind(']');
    if (line.starts_with('[') && close != std::string_view::npos) {
      group = Trim(line.substr(1, close - 1));
      inGroup = true;
    } else if (inGroup && line.starts_with("issue=")) {
      record.insert_or_assign(std::string(group), std::string(Trim(line.substr(6))));
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
