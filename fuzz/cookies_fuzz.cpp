// Set-Cookie data and urls from the network: storing, reading, clearing and
// the expiry dates never crash or loop.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "net/cookie_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  net::CookieStore store;
  const std::string url = data.ConsumeRandomLengthString(40);
  const int count = data.ConsumeIntegralInRange<int>(0, 4);
  for (int i = 0; i < count; ++i) {
    const std::string name = data.ConsumeRandomLengthString(12);
    const std::string value = data.ConsumeRandomLengthString(80);
    store.SetCookie(data.ConsumeBool() ? url : data.ConsumeRandomLengthString(40), name, value);
  }
  const std::string date = data.ConsumeRemainingBytesAsString();
  (void)net::ParseCookieDate(date);
  (void)net::CookieDomain(url);
  (void)store.CookieText(url);
  (void)net::GetUrlCookies(url, {}, store);
  (void)net::GetUrlCookies(url, "a", store);
  (void)net::ClearUrlCookies(url, store);
  return 0;
}
