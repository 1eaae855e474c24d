#pragma once

#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

// Cookies kept per host for the whole process, shared by every request
// (window thread and history worker alike), so all operations lock.
class CookieStore {
 public:
  virtual ~CookieStore() = default;

  // "name=value; name=value" of the cookies that apply to url (host and path).
  virtual std::string CookieText(std::string_view url);
  // Stores one cookie for url. `data` is the value followed by attributes
  // ("1; path=/; expires=...; domain=..."); it may also begin with "name=".
  // A past expiry date (or max-age <= 0) deletes the cookie instead. As in a
  // browser the store stays bounded: a cookie whose name and value exceed
  // kMaxCookieBytes is not stored, and a domain holding kMaxCookiesPerDomain
  // cookies drops its oldest for a new one.
  virtual void SetCookie(std::string_view url, std::string_view name, std::string_view data);
  // Drops every cookie the url's host would be sent on any path: its own and
  // those of the domains it belongs to.
  virtual void ClearHost(std::string_view url);
  void Clear();

  static constexpr size_t kMaxCookieBytes = 4096;
  static constexpr size_t kMaxCookiesPerDomain = 50;

 private:
  struct Cookie {
    std::string name;
    std::string value;
    std::string domain;  // the host itself for host-only cookies
    bool hostOnly = true;
    std::string path;
    std::chrono::sys_seconds expires = std::chrono::sys_seconds::max();
  };
  std::mutex mutex_;
  std::vector<Cookie> cookies_;  // in the order they were first stored
};

CookieStore& ProcessCookieStore();

// "Wed, 7-Jul-2010 10:16:39 GMT": the date-time written as given, no zone shift.
std::string CookieDate(std::chrono::local_seconds time);
// Reads the date of an expires attribute, dashed or RFC 1123 form, as GMT;
// nullopt when it cannot be read.
std::optional<std::chrono::sys_seconds> ParseCookieDate(std::string_view text);

// The domain the deletion cookies are sent for: p.q.r -> q.r, q.r -> q.r.
std::string CookieDomain(std::string_view host);

// The cookie text the store holds for the url's host; with a name, only that
// cookie's value. Empty when there is none or the text reaches 7500 bytes.
std::string GetUrlCookies(std::string_view url, std::string_view name = {},
                          CookieStore& store = ProcessCookieStore());

// Deletes the url's cookies one pass per cookie until a pass makes no
// progress, then drops what the passes cannot reach (cookies of another path
// or of a wider domain), so that the host keeps none whatever the store held.
// True when none is left.
bool ClearUrlCookies(std::string_view url, CookieStore& store = ProcessCookieStore());

}  // namespace net
