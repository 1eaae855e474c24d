// The url and marker helpers on any text, markers and start positions.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/text.h"
#include "net/url_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const std::string left = data.ConsumeRandomLengthString(16);
  const std::string right = data.ConsumeRandomLengthString(16);
  const int start = data.ConsumeIntegral<int>();
  const bool caseSensitive = data.ConsumeBool();
  const std::size_t from = data.ConsumeIntegral<std::size_t>();
  const std::string text = data.ConsumeRemainingBytesAsString();

  const std::string between = net::TextBetween(text, left, right, start, caseSensitive);
  const std::string before = net::TextBefore(text, left, start, caseSensitive);
  if (between.size() > text.size() || before.size() > text.size()) std::abort();
  const std::size_t found = base::FindNoCase(text, left, from);
  if (found != std::string::npos && found + left.size() > text.size()) std::abort();

  (void)net::CompleteUrlScheme(text);
  (void)net::UrlHost(text);
  const std::string path = net::UrlPath(text);
  if (path.empty() || path.front() != '/') std::abort();
  (void)net::UrlPort(text);
  return 0;
}
