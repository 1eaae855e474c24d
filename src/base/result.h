#pragma once

#include <string>
#include <utility>
#include <variant>

namespace base {

// An expected failure: files, pages and stores that are missing or malformed.
struct Error {
  std::string message;
};

// Dropping one would lose a failure unseen: a caller that has nothing to do
// with it says so with an explicit (void) and a comment.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : data_(std::move(value)) {}      // NOLINT: implicit by design
  Result(Error error) : data_(std::move(error)) {}  // NOLINT

  bool ok() const { return std::holds_alternative<T>(data_); }
  explicit operator bool() const { return ok(); }
  const T& value() const { return std::get<T>(data_); }
  T& value() { return std::get<T>(data_); }
  const Error& error() const { return std::get<Error>(data_); }

 private:
  std::variant<T, Error> data_;
};

struct Ok {};
using Status = Result<Ok>;

}  // namespace base
