#include "mirror_pages.h"

#include <cstdio>

#include "base/codepage.h"

namespace drawd {

using namespace std::chrono;

namespace {

std::string DashedDate(year_month_day day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(day.year()),
                static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
  return text;
}

std::string OpenTime(const lottery::Draw& draw) {
  LocalSeconds time = DrawTime(IssueOf(draw));
  year_month_day day{floor<days>(time)};
  hh_mm_ss clock(time - floor<days>(time));
  char text[16];
  std::snprintf(text, sizeof text, " %02d:%02d:%02d", static_cast<int>(clock.hours().count()),
                static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return DashedDate(day) + text;
}

std::string LongIssue(const lottery::Draw& draw) { return lottery::LongIssueText(IssueOf(draw)); }

std::string CommaCode(const std::string& code) {
  std::string text;
  for (char digit : code) {
    if (!text.empty()) text += ',';
    text += digit;
  }
  return text;
}

std::string NewestLine(const std::optional<lottery::Draw>& newest) {
  if (!newest) return "<p>暂无开奖</p>";
  return "<p>最新开奖：第 " + newest->issue + " 期 " + newest->code + "</p>";
}

}  // namespace

std::string HistoryPage(year_month_day day, const std::vector<lottery::Draw>& draws) {
  std::string page =
      "<!DOCTYPE html>\r\n<html><head><meta charset=\"gbk\"><title>重庆时时彩开奖号码 " +
      DashedDate(day) +
      "</title></head><body>\r\n<table class='kj'>\r\n"
      "<tr><th>期号</th><th>开奖号码</th><th>开奖时间</th></tr>\r\n";
  for (const lottery::Draw& draw : draws) {
    const std::string_view sequence = lottery::IssueSequence(draw.issue);
    page += "<tr><td class='gray'>" + std::string(sequence) + "</td><td class='red big'>" +
            draw.code + "</td><td>" + OpenTime(draw) + "</td></tr>\r\n";
  }
  page += "</table>\r\n</body></html>\r\n";
  // every text above is GBK-encodable
  return base::Utf8ToGbk(page).value_or(page);
}

std::string FirstFeed(const std::optional<lottery::Draw>& newest) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<xml>\r\n";
  if (newest) {
    xml += "<row expect=\"" + LongIssue(*newest).substr(2) + "\" starttime=\"" + OpenTime(*newest) +
           "\" opencode=\"" + CommaCode(newest->code) + "\" order=\"1\"/>\r\n";
  }
  return xml + "</xml>\r\n";
}

std::string SecondFeed(const std::optional<lottery::Draw>& newest) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<xml>\r\n";
  if (newest) {
    xml += "<row expect=\"" + LongIssue(*newest) + "\" opencode=\"" + CommaCode(newest->code) +
           "\" opentime=\"" + OpenTime(*newest) + "\"/>\r\n";
  }
  return xml + "</xml>\r\n";
}

std::string AnnouncementPage(const std::optional<lottery::Draw>& newest) {
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>公告</title></head><body>\n"
         "<h3>岚舟本地开奖镜像</h3>\n<p>本页由本机的 lanzhou-drawd 提供。</p>\n" +
         NewestLine(newest) + "\n</body></html>\n";
}

std::string VideoPage(const std::string& lottery, const std::optional<lottery::Draw>& newest) {
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + lottery +
         "开奖视频</title></head><body>\n<h3>" + lottery + "开奖视频</h3>\n" + NewestLine(newest) +
         "\n</body></html>\n";
}

}  // namespace drawd
