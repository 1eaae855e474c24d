#include "mirror_server.h"

#include "mirror_pages.h"

namespace drawd {

namespace {

void BadRequest(httplib::Response& response, const std::string& why) {
  response.status = 400;
  response.set_content("bad request: " + why + "\n", "text/plain; charset=utf-8");
}

}  // namespace

void InstallRoutes(httplib::Server& server, MirrorSource& source) {
  server.Get("/kaijiang/kaijiang", [&source](const httplib::Request& request,
                                             httplib::Response& response) {
    if (request.get_param_value("lotId") != "255401") return BadRequest(response, "lotId");
    if (request.get_param_value("spanType") != "2") return BadRequest(response, "spanType");
    std::string span = request.get_param_value("span");
    std::size_t underscore = span.find('_');
    if (underscore == std::string::npos) return BadRequest(response, "span");
    auto from = ParseDashedDate(std::string_view(span).substr(0, underscore));
    auto to = ParseDashedDate(std::string_view(span).substr(underscore + 1));
    if (!from || !to || *from != *to) return BadRequest(response, "span");
    response.set_content(HistoryPage(*from, source.DayDraws(*from)), "text/html; charset=gbk");
  });
  server.Get("/static/public/ssc/xml/newlyopen.xml",
             [&source](const httplib::Request&, httplib::Response& response) {
               response.set_content(FirstFeed(source.Newest()), "text/xml; charset=gb2312");
             });
  server.Get("/static/ssc/newlyopenlist.xml",
             [&source](const httplib::Request&, httplib::Response& response) {
               response.set_content(SecondFeed(source.Newest()), "text/xml; charset=gb2312");
             });
  server.Get("/announcement.html", [&source](const httplib::Request&, httplib::Response& response) {
    response.set_content(AnnouncementPage(source.Newest()), "text/html; charset=utf-8");
  });
  server.Get("/assist/bonusvideo.aspx", [&source](const httplib::Request& request,
                                                  httplib::Response& response) {
    if (request.get_param_value("lt") != "4") return BadRequest(response, "lt");
    response.set_content(VideoPage("重庆时时彩", source.Newest()), "text/html; charset=utf-8");
  });
  server.Get("/jxssc/", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(VideoPage("江西时时彩", std::nullopt), "text/html; charset=utf-8");
  });
  server.set_exception_handler(
      [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
        response.status = 500;
        response.set_content("internal error\n", "text/plain");
      });
}

}  // namespace drawd
