#pragma once

// A program run beside the test with its standard input and output on pipes,
// spoken to one line at a time. Ended (SIGTERM) when the object goes.
// Shared by the end-to-end tests and the soak tool.

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& argv) {
    int input[2], output[2];
    if (pipe(input) != 0 || pipe(output) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(input[0], STDIN_FILENO);
      dup2(output[1], STDOUT_FILENO);
      close(input[0]);
      close(input[1]);
      close(output[0]);
      close(output[1]);
      std::vector<char*> args;
      for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
      args.push_back(nullptr);
      execv(args[0], args.data());
      _exit(127);
    }
    close(input[0]);
    close(output[1]);
    in_ = input[1];
    out_ = output[0];
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() {
    if (in_ >= 0) close(in_);
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
  }

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }

  bool WriteLine(const std::string& line) {
    std::string text = line + "\n";
    return write(in_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  }

  // The next output line, or nullopt at the end of output or after the limit.
  std::optional<std::string> ReadLine(int limitMs = 60000) {
    for (;;) {
      std::size_t end = buffer_.find('\n');
      if (end != std::string::npos) {
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return line;
      }
      pollfd ready{out_, POLLIN, 0};
      if (poll(&ready, 1, limitMs) <= 0) return std::nullopt;
      char chunk[4096];
      ssize_t got = read(out_, chunk, sizeof chunk);
      if (got <= 0) return std::nullopt;
      buffer_.append(chunk, static_cast<std::size_t>(got));
    }
  }

  // Sends a query and returns its one-line answer.
  std::string Ask(const std::string& command) {
    if (!WriteLine(command)) return "<write failed>";
    return ReadLine().value_or("<no answer>");
  }

 private:
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  std::string buffer_;
};
