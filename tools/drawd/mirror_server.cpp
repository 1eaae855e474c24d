#include "mirror_server.h"

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <chrono>
#include <cstdint>
#include <exception>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "mirror_routes.h"

namespace drawd {

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

// A request head arrives whole within this or the connection ends: idle
// connections and ones fed a byte at a time alike.
constexpr auto kHeadTime = std::chrono::seconds(5);
// A client that does not take its answer within this is dropped.
constexpr auto kWriteTime = std::chrono::seconds(10);
// The mirror's requests are a line and a few headers.
constexpr std::uint32_t kHeadLimit = 16 * 1024;
// After a failed accept (no descriptor left), the pause before the next.
constexpr auto kAcceptPause = std::chrono::milliseconds(100);

using Response = http::response<http::string_body>;

Response Plain(unsigned version, http::status status, std::string body) {
  Response response{status, version};
  response.set(http::field::content_type, "text/plain; charset=utf-8");
  response.body() = std::move(body);
  response.prepare_payload();
  response.keep_alive(false);
  return response;
}

// One client connection, one request at a time.
class Session : public std::enable_shared_from_this<Session> {
 public:
  Session(tcp::socket socket, MirrorSource& source) : stream_(std::move(socket)), source_(source) {}

  void ReadHead() {
    parser_.emplace();
    parser_->header_limit(kHeadLimit);
    // The body is never read; its announced size only decides the refusal.
    // (boost::none would fail every length: Boost 1.74 compares against it.)
    parser_->body_limit(std::numeric_limits<std::uint64_t>::max());
    stream_.expires_after(kHeadTime);
    http::async_read_header(
        stream_, buffer_, *parser_,
        [self = shared_from_this()](beast::error_code error, std::size_t) { self->OnHead(error); });
  }

 private:
  void OnHead(beast::error_code error) {
    if (error == http::error::end_of_stream) return Close();
    // A head the parser refuses: malformed, or longer than kHeadLimit.
    if (error.category() == http::make_error_code(http::error::bad_target).category()) {
      return Send(Plain(11, http::status::bad_request, "bad request\n"));
    }
    if (error) return Close();  // timed out, reset
    const auto& request = parser_->get();
    if (parser_->chunked() || parser_->content_length().value_or(0) > 0) {
      return Send(Plain(request.version(), http::status::payload_too_large,
                        "request bodies are not accepted\n"));
    }
    Send(Reply(request));
  }

  Response Reply(const http::request<http::empty_body>& request) {
    Response response{http::status::not_found, request.version()};
    response.keep_alive(request.keep_alive());
    const bool head = request.method() == http::verb::head;
    if (request.method() != http::verb::get && !head) {
      response.content_length(0);
      return response;
    }
    MirrorReply reply;
    try {
      reply = Answer(source_, std::string_view(request.target().data(), request.target().size()));
    } catch (const std::exception&) {
      reply = {500, "text/plain", "internal error\n"};
    }
    response.result(static_cast<unsigned>(reply.status));
    if (!reply.contentType.empty()) response.set(http::field::content_type, reply.contentType);
    response.content_length(reply.body.size());
    if (!head) response.body() = std::move(reply.body);
    return response;
  }

  void Send(Response response) {
    response_ = std::move(response);
    stream_.expires_after(kWriteTime);
    http::async_write(stream_, *response_,
                      [self = shared_from_this()](beast::error_code error, std::size_t) {
                        if (error || !self->response_->keep_alive()) return self->Close();
                        self->response_.reset();
                        self->ReadHead();
                      });
  }

  void Close() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
    stream_.socket().close(ignored);
  }

  beast::tcp_stream stream_;
  MirrorSource& source_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::empty_body>> parser_;
  std::optional<Response> response_;
};

}  // namespace

struct MirrorServer::Impl {
  explicit Impl(MirrorSource& s) : source(s) {}

  void Accept() {
    acceptor.async_accept([this](beast::error_code error, tcp::socket socket) {
      if (error == asio::error::operation_aborted) return;
      if (!error) {
        std::make_shared<Session>(std::move(socket), source)->ReadHead();
        return Accept();
      }
      pause.expires_after(kAcceptPause);
      pause.async_wait([this](beast::error_code waited) {
        if (!waited) Accept();
      });
    });
  }

  MirrorSource& source;
  asio::io_context context{1};
  tcp::acceptor acceptor{context};
  asio::steady_timer pause{context};
};

MirrorServer::MirrorServer(MirrorSource& source) : impl_(std::make_unique<Impl>(source)) {}

MirrorServer::~MirrorServer() {
  Stop();
  if (serving_.joinable()) serving_.join();
}

base::Result<int> MirrorServer::Listen(int port) {
  beast::error_code error;
  const tcp::endpoint endpoint(asio::ip::address_v4::loopback(), static_cast<unsigned short>(port));
  tcp::acceptor& acceptor = impl_->acceptor;
  acceptor.open(endpoint.protocol(), error);
  if (!error) acceptor.set_option(asio::socket_base::reuse_address(true), error);
  if (!error) acceptor.bind(endpoint, error);
  if (!error) acceptor.listen(asio::socket_base::max_listen_connections, error);
  if (error)
    return base::Error{"cannot listen on 127.0.0.1:" + std::to_string(port) + ": " +
                       error.message()};
  impl_->Accept();
  return static_cast<int>(acceptor.local_endpoint().port());
}

void MirrorServer::Run() { impl_->context.run(); }

void MirrorServer::Start() {
  serving_ = std::thread([this] { Run(); });
}

void MirrorServer::Stop() { impl_->context.stop(); }

}  // namespace drawd
