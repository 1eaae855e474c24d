#include "push/outcome_text.h"

#include <cstdio>
#include <vector>

namespace push {
namespace {

// A piece shorter than this is too common a word to stand for a token.
constexpr size_t kPieceLength = 8;

constexpr std::string_view kFailed = "失败：";

bool IsAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void AddWindows(std::string_view run, std::vector<std::string_view>& pieces) {
  for (size_t at = 0; at + kPieceLength <= run.size(); ++at) {
    pieces.push_back(run.substr(at, kPieceLength));
  }
}

// Every text whose appearance would give a token or secret away.
std::vector<std::string_view> SecretPieces(const Group& group) {
  std::vector<std::string_view> pieces;
  std::string_view secret = group.secret;
  if (!secret.empty() && secret.size() < kPieceLength) pieces.push_back(secret);
  AddWindows(secret, pieces);
  if (!group.url.empty()) pieces.push_back(group.url);
  std::string_view url = group.url;
  for (size_t at = 0; at < url.size();) {
    size_t end = at;
    while (end < url.size() && IsAlnum(url[end])) ++end;
    AddWindows(url.substr(at, end - at), pieces);
    at = end + 1;
  }
  return pieces;
}

}  // namespace

const std::string& SendingText() {
  static const std::string text = "发送中…";
  return text;
}

const std::string& NothingToSendText() {
  static const std::string text = "没有可发送的内容";
  return text;
}

std::string SentText(TimeOfDay at) {
  char clock[40];
  std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", at.hour, at.minute, at.second);
  return std::string("已发送 ") + clock;
}

bool IsFailedText(std::string_view status) { return status.starts_with(kFailed); }

std::string FailedText(std::string_view reason, const Group& group) {
  const std::string shown =
      RevealsSecret(reason, group) ? "发送未成功（原因含有密钥，已隐去）" : std::string(reason);
  return std::string(kFailed) + shown;
}

bool RevealsSecret(std::string_view text, const Group& group) {
  for (std::string_view piece : SecretPieces(group)) {
    if (text.find(piece) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace push
