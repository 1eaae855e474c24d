#include "push/split_text.h"

namespace push {
namespace {

// Bytes of the UTF-8 sequence a lead byte starts; a stray byte stands alone.
size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0 && lead < 0xF0) return 3;
  if (lead >= 0xC2 && lead < 0xE0) return 2;
  return 1;
}

// The next character of text from `at`: its byte length and its measure.
std::pair<size_t, size_t> NextCharacter(std::string_view text, size_t at, TextLimit::Unit unit) {
  size_t bytes = SequenceLength(static_cast<unsigned char>(text[at]));
  for (size_t i = 1; i < bytes; ++i) {
    if (at + i >= text.size() || (static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) {
      bytes = 1;  // broken sequence: its bytes go one by one
      break;
    }
  }
  if (unit == TextLimit::Unit::kBytes) return {bytes, bytes};
  return {bytes, bytes == 4 ? 2 : 1};
}

size_t Measure(std::string_view text, TextLimit::Unit unit) {
  if (unit == TextLimit::Unit::kBytes) return text.size();
  size_t length = 0;
  for (size_t at = 0; at < text.size();) {
    const auto [bytes, measure] = NextCharacter(text, at, unit);
    at += bytes;
    length += measure;
  }
  return length;
}

class TextCutter {
 public:
  explicit TextCutter(TextLimit limit) : limit_(limit) {}

  void Add(std::string_view line) {
    const size_t measure = Measure(line, limit_.unit);
    if (currentMeasure_ + measure <= limit_.length) {
      current_ += line;
      currentMeasure_ += measure;
      return;
    }
    Flush();
    if (measure <= limit_.length) {
      current_ = line;
      currentMeasure_ = measure;
      return;
    }
    CutLong(line);
  }

  std::vector<std::string> Finish() {
    if (current_.find_first_not_of("\r\n") != std::string::npos) {
      parts_.push_back(std::move(current_));
    }
    return std::move(parts_);
  }

 private:
  // The part ends at a cut, so the line ends there go.
  void Flush() {
    while (current_.ends_with('\n') || current_.ends_with('\r')) current_.pop_back();
    if (!current_.empty()) parts_.push_back(std::move(current_));
    current_.clear();
    currentMeasure_ = 0;
  }

  void CutLong(std::string_view line) {
    size_t start = 0;
    size_t measure = 0;
    for (size_t at = 0; at < line.size();) {
      const auto [bytes, characterMeasure] = NextCharacter(line, at, limit_.unit);
      if (measure + characterMeasure > limit_.length && at > start) {
        current_ = line.substr(start, at - start);
        currentMeasure_ = measure;
        Flush();
        start = at;
        measure = 0;
      }
      at += bytes;
      measure += characterMeasure;
    }
    // What is left may be only the line's end, which then falls at the cut.
    const std::string_view rest = line.substr(start);
    if (rest.find_first_not_of("\r\n") == std::string_view::npos) return;
    current_ = rest;
    currentMeasure_ = measure;
  }

  TextLimit limit_;
  std::vector<std::string> parts_;
  std::string current_;
  size_t currentMeasure_ = 0;
};

}  // namespace

TextLimit LimitOf(Platform platform) {
  switch (platform) {
    case Platform::kWecom:
      return {2048, TextLimit::Unit::kBytes};
    case Platform::kDingtalk:
      return {20000, TextLimit::Unit::kBytes};
    case Platform::kFeishu:
      return {30000, TextLimit::Unit::kBytes};
    case Platform::kTelegram:
      return {4096, TextLimit::Unit::kUtf16};
    case Platform::kWebhook:
      break;
  }
  return {65536, TextLimit::Unit::kBytes};
}

std::vector<std::string> SplitText(std::string_view text, TextLimit limit) {
  if (text.find_first_not_of("\r\n") == std::string_view::npos) return {};
  if (limit.length == 0 || Measure(text, limit.unit) <= limit.length) return {std::string(text)};
  TextCutter collector(limit);
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\n', at);
    const size_t next = end == std::string_view::npos ? text.size() : end + 1;
    collector.Add(text.substr(at, next - at));
    at = next;
  }
  return collector.Finish();
}

}  // namespace push
