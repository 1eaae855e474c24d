#include "net/cookie_store.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "base/text.h"
#include "net/url_text.h"

namespace net {
namespace {

using std::chrono::sys_seconds;

constexpr std::array<const char*, 7> kWeekdays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The cookie text a store read hands out fits a buffer of this size,
// terminator included.
constexpr size_t kCookieTextBuffer = 7500;

bool DomainMatches(std::string_view host, std::string_view domain) {
  if (host == domain) return true;
  return host.size() > domain.size() && host.ends_with(domain) &&
         host[host.size() - domain.size() - 1] == '.';
}

bool PathMatches(std::string_view requestPath, std::string_view cookiePath) {
  if (!requestPath.starts_with(cookiePath)) return false;
  return requestPath.size() == cookiePath.size() || cookiePath.ends_with('/') ||
         requestPath[cookiePath.size()] == '/';
}

// The directory of the request path, the default path of a cookie without one.
std::string DefaultPath(std::string_view requestPath) {
  std::string_view path = requestPath.substr(0, requestPath.find('?'));
  size_t slash = path.rfind('/');
  if (slash == std::string_view::npos || slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

}  // namespace

std::string CookieStore::CookieText(std::string_view url) {
  const std::string host = UrlHost(url);
  const std::string path = UrlPath(url);
  const auto now =
      std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::system_clock::now());
  std::lock_guard lock(mutex_);
  std::erase_if(cookies_, [&](const Cookie& c) { return c.expires <= now; });
  std::vector<const Cookie*> matching;
  for (const Cookie& cookie : cookies_) {
    bool domainOk = cookie.hostOnly ? cookie.domain == host : DomainMatches(host, cookie.domain);
    if (domainOk && PathMatches(path, cookie.path)) matching.push_back(&cookie);
  }
  // Longer paths first, as browsers send them; otherwise in storing order.
  std::stable_sort(matching.begin(), matching.end(), [](const Cookie* a, const Cookie* b) {
    return a->path.size() > b->path.size();
  });
  std::string text;
  for (const Cookie* cookie : matching) {
    if (!text.empty()) text += "; ";
    text += cookie->name + "=" + cookie->value;
  }
  return text;
}

void CookieStore::SetCookie(std::string_view url, std::string_view name, std::string_view data) {
  Cookie cookie;
  cookie.name = base::Trim(name, " \t");
  std::string_view rest = data;
  size_t semicolon = rest.find(';');
  std::string first(base::Trim(rest.substr(0, semicolon), " \t"));
  rest = semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
  // Deletion data repeats the name ("a=deleted; expires=...").
  if (cookie.name.empty()) {
    size_t equals = first.find('=');
    cookie.name = base::Trim(std::string_view(first).substr(0, equals), " \t");
    cookie.value = equals == std::string::npos
                       ? ""
                       : base::Trim(std::string_view(first).substr(equals + 1), " \t");
  } else if (first.starts_with(cookie.name + "=")) {
    cookie.value = first.substr(cookie.name.size() + 1);
  } else {
    cookie.value = first;
  }
  if (cookie.name.empty()) return;
  if (cookie.name.size() + cookie.value.size() > kMaxCookieBytes) return;

  const std::string host = UrlHost(url);
  cookie.domain = host;
  cookie.path = DefaultPath(UrlPath(url));
  const auto now =
      std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::system_clock::now());
  bool expired = false;
  while (!rest.empty()) {
    semicolon = rest.find(';');
    std::string_view attribute = rest.substr(0, semicolon);
    rest = semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
    size_t equals = attribute.find('=');
    const std::string_view key = base::Trim(attribute.substr(0, equals), " \t");
    const std::string value(
        equals == std::string_view::npos ? "" : base::Trim(attribute.substr(equals + 1), " \t"));
    if (base::EqualsNoCase(key, "expires")) {
      if (auto when = ParseCookieDate(value)) {
        cookie.expires = *when;
        expired = expired || *when <= now;
      }
    } else if (base::EqualsNoCase(key, "max-age") && !value.empty()) {
      long seconds = std::strtol(value.c_str(), nullptr, 10);
      if (seconds <= 0)
        expired = true;
      else if (seconds >= (sys_seconds::max() - now).count())
        cookie.expires = sys_seconds::max();  // past the clock's end: never
      else
        cookie.expires = now + std::chrono::seconds(seconds);
    } else if (base::EqualsNoCase(key, "path") && value.starts_with('/')) {
      cookie.path = value;
    } else if (base::EqualsNoCase(key, "domain")) {
      std::string domain = value.starts_with('.') ? value.substr(1) : value;
      for (char& c : domain) c = base::AsciiLower(c);
      // A domain the host does not belong to would let one site set another's cookies.
      if (domain.empty() || !DomainMatches(host, domain)) return;
      cookie.domain = domain;
      cookie.hostOnly = false;
    }
  }

  std::lock_guard lock(mutex_);
  auto same = std::find_if(cookies_.begin(), cookies_.end(), [&](const Cookie& c) {
    return c.name == cookie.name && c.domain == cookie.domain && c.path == cookie.path;
  });
  if (expired) {
    if (same != cookies_.end()) cookies_.erase(same);
  } else if (same != cookies_.end()) {
    *same = cookie;
  } else {
    auto sameDomain = [&](const Cookie& c) { return c.domain == cookie.domain; };
    if (static_cast<size_t>(std::count_if(cookies_.begin(), cookies_.end(), sameDomain)) >=
        kMaxCookiesPerDomain) {
      cookies_.erase(std::find_if(cookies_.begin(), cookies_.end(), sameDomain));
    }
    cookies_.push_back(cookie);
  }
}

void CookieStore::ClearHost(std::string_view url) {
  const std::string host = UrlHost(url);
  std::lock_guard lock(mutex_);
  std::erase_if(cookies_, [&](const Cookie& c) {
    return c.hostOnly ? c.domain == host : DomainMatches(host, c.domain);
  });
}

void CookieStore::Clear() {
  std::lock_guard lock(mutex_);
  cookies_.clear();
}

CookieStore& ProcessCookieStore() {
  // Never destroyed: a cancelled transfer may still be finishing while the
  // process exits.
  static CookieStore* store = new CookieStore;
  return *store;
}

std::string CookieDate(std::chrono::local_seconds time) {
  const auto day = std::chrono::floor<std::chrono::days>(time);
  const std::chrono::year_month_day date(day);
  const std::chrono::weekday weekday(day);
  const std::chrono::hh_mm_ss clock(time - day);
  char text[64];
  std::snprintf(text, sizeof text, "%s, %u-%s-%04d %d:%d:%d GMT", kWeekdays[weekday.c_encoding()],
                static_cast<unsigned>(date.day()), kMonths[static_cast<unsigned>(date.month()) - 1],
                static_cast<int>(date.year()), static_cast<int>(clock.hours().count()),
                static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return text;
}

std::optional<std::chrono::sys_seconds> ParseCookieDate(std::string_view text) {
  // Tokens split at blanks, commas and dashes: weekday, day, month, year, time, zone.
  int day = -1, month = -1, year = -1, hour = -1, minute = 0, second = 0;
  size_t i = 0;
  while (i < text.size()) {
    size_t end = text.find_first_of(" ,-", i);
    if (end == std::string_view::npos) end = text.size();
    std::string token(text.substr(i, end - i));
    i = end + 1;
    if (token.empty()) continue;
    if (token.find(':') != std::string::npos) {
      if (std::sscanf(token.c_str(), "%d:%d:%d", &hour, &minute, &second) < 2) return std::nullopt;
    } else if (base::IsDigit(token[0])) {
      int number = std::atoi(token.c_str());
      if (token.size() >= 3 && year < 0)
        year = number;
      else if (day < 0)
        day = number;
      else if (year < 0)
        year = number < 70 ? 2000 + number : 1900 + number;
    } else {
      for (size_t m = 0; m < kMonths.size(); ++m) {
        if (base::EqualsNoCase(token.substr(0, 3), kMonths[m])) month = static_cast<int>(m) + 1;
      }
    }
  }
  if (day < 1 || month < 1 || year < 0) return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year(year),
                                         std::chrono::month(static_cast<unsigned>(month)),
                                         std::chrono::day(static_cast<unsigned>(day))};
  if (!date.ok()) return std::nullopt;
  return std::chrono::sys_days(date) + std::chrono::hours(std::max(hour, 0)) +
         std::chrono::minutes(minute) + std::chrono::seconds(second);
}

std::string CookieDomain(std::string_view host) {
  size_t dots = std::count(host.begin(), host.end(), '.');
  if (dots == 1) return std::string(host);
  if (dots == 0) return ".";
  size_t last = host.rfind('.');
  size_t secondLast = host.rfind('.', last - 1);
  return std::string(host.substr(secondLast + 1));
}

std::string GetUrlCookies(std::string_view url, std::string_view name, CookieStore& store) {
  std::string text = store.CookieText("http://" + UrlHost(url));
  if (text.size() >= kCookieTextBuffer) return {};
  if (name.empty()) return text;
  // The named cookie itself, not a name that merely contains it ("ab" for "b").
  for (size_t at = base::FindNoCase(text, name); at != std::string::npos;
       at = base::FindNoCase(text, name, at + 1)) {
    bool starts = at == 0 || text[at - 1] == ' ' || text[at - 1] == ';';
    size_t after = at + name.size();
    if (!starts || after >= text.size() || text[after] != '=') continue;
    size_t end = text.find(';', after);
    return text.substr(after + 1, end == std::string::npos ? std::string::npos : end - after - 1);
  }
  return {};
}

bool ClearUrlCookies(std::string_view url, CookieStore& store) {
  const std::string domain = CookieDomain(UrlHost(url));
  // The store itself, not the 7500-byte reader: a host holding more than
  // that would otherwise read as having none and keep them all.
  const std::string hostUrl = "http://" + UrlHost(url);
  std::string cookies = store.CookieText(hostUrl);
  const std::string address = CompleteUrlScheme(url);
  // A date long past, so the store drops the cookie.
  const std::string expiry =
      CookieDate(std::chrono::local_days(std::chrono::July / 7 / 2010) + std::chrono::hours(10) +
                 std::chrono::minutes(16) + std::chrono::seconds(39));
  std::string previous = cookies;
  for (;;) {
    const size_t equals = cookies.find('=');
    if (equals == std::string::npos) break;
    const std::string name = cookies.substr(0, equals);
    const std::string data = name + "=deleted; expires=" + expiry + "; path=/";
    store.SetCookie(address, name, data);
    store.SetCookie(address, name, data + "; domain=" + domain);
    cookies = store.CookieText(hostUrl);
    if (cookies == previous) break;
    previous = cookies;
  }
  // What the deletions cannot reach: another path, a wider domain.
  store.ClearHost(url);
  return store.CookieText(hostUrl).empty();
}

}  // namespace net
