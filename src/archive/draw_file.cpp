#include "archive/draw_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "archive/draw_line.h"

namespace archive {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::size_t kPieceBytes = 256 * 1024;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

void DrawTextReader::Feed(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) {
      Hold(bytes);
      return;
    }
    EndLine(bytes.substr(0, end));
    bytes.remove_prefix(end + 1);
  }
}

void DrawTextReader::Finish() {
  if (lineOpen_) EndLine({});
}

void DrawTextReader::Hold(std::string_view piece) {
  lineOpen_ = true;
  if (overlong_) return;
  if (held_.size() + piece.size() > kMaxLineBytes) {
    overlong_ = true;
    held_.clear();
    return;
  }
  held_.append(piece);
}

void DrawTextReader::EndLine(std::string_view tail) {
  ++scan_.lines;
  if (!overlong_ && held_.empty()) {
    Take(tail);
  } else {
    Hold(tail);
    if (overlong_) {
      Reject("line longer than " + std::to_string(kMaxLineBytes) + " bytes");
    } else {
      Take(held_);
    }
  }
  held_.clear();
  overlong_ = false;
  lineOpen_ = false;
}

void DrawTextReader::Take(std::string_view line) {
  if (line.size() > kMaxLineBytes) {
    Reject("line longer than " + std::to_string(kMaxLineBytes) + " bytes");
    return;
  }
  if (scan_.lines == 1 && line.starts_with(kBom)) line.remove_prefix(kBom.size());
  DrawLine parsed = ParseDrawLine(line, *lottery_);
  if (parsed.kind == DrawLine::Kind::Draw) {
    draws_.push_back(std::move(parsed.draw));
  } else if (parsed.kind == DrawLine::Kind::Rejected) {
    Reject(std::move(parsed.reason));
  }
}

void DrawTextReader::Reject(std::string reason) {
  ++scan_.rejected;
  if (scan_.firstRejects.size() < kKeptRejects) {
    scan_.firstRejects.push_back({scan_.lines, std::move(reason)});
  }
}

bool LooksBinary(std::string_view head) {
  for (unsigned char c : head) {
    // TAB LF VT FF CR are text; so is the DOS end-of-file mark.
    if ((c < 0x20 && (c < '\t' || c > '\r') && c != 0x1A) || c == 0x7F) return true;
  }
  return false;
}

base::Result<DrawTextScan> ReadDrawFile(const std::filesystem::path& file,
                                        const lottery::Lottery& lottery,
                                        const DrawBatchSink& takeDraws, std::size_t batchSize) {
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (!std::filesystem::exists(status)) return base::Error{file.string() + ": no such file"};
  if (!std::filesystem::is_regular_file(status)) {
    return base::Error{file.string() + ": not a regular file"};
  }
  std::unique_ptr<std::FILE, FileCloser> in(std::fopen(file.c_str(), "rb"));
  if (!in) return base::Error{file.string() + ": " + std::strerror(errno)};

  std::vector<char> piece(kPieceBytes);
  DrawTextReader reader(lottery);
  // Whole batches only, so each transaction of an import is the same size;
  // the rest when the file is done.
  auto handOn = [&](bool all) -> base::Status {
    std::vector<lottery::Draw>& draws = reader.draws();
    std::size_t from = 0;
    while (draws.size() - from >= batchSize || (all && from < draws.size())) {
      const std::size_t count = std::min(batchSize, draws.size() - from);
      if (auto taken = takeDraws(std::span<const lottery::Draw>(draws).subspan(from, count));
          !taken) {
        return taken;
      }
      from += count;
    }
    draws.erase(draws.begin(), draws.begin() + static_cast<std::ptrdiff_t>(from));
    return base::Ok{};
  };
  bool first = true;
  for (;;) {
    const std::size_t size = std::fread(piece.data(), 1, piece.size(), in.get());
    if (size == 0) {
      if (std::ferror(in.get())) return base::Error{file.string() + ": read error"};
      break;
    }
    const std::string_view bytes(piece.data(), size);
    if (first && LooksBinary(bytes)) return base::Error{file.string() + ": not a text file"};
    first = false;
    reader.Feed(bytes);
    if (auto handed = handOn(false); !handed) return handed.error();
  }
  reader.Finish();
  if (auto handed = handOn(true); !handed) return handed.error();
  return reader.scan();
}

}  // namespace archive
