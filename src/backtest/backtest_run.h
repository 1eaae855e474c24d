#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "backtest/backtest_row.h"
#include "plan/draw.h"
#include "search/candidate_score.h"

namespace backtest {

// Called on a worker thread with the number of formulas finished: about
// every kProgressInterval while the run goes on, and once when it ends.
using ProgressFunction = std::function<void(std::size_t completed)>;
inline constexpr auto kProgressInterval = std::chrono::milliseconds(50);

// One backtest: every formula replayed over the source exactly as the formula
// search replays a candidate with the same settings, with its runs of hits
// and misses. It starts at once on worker threads and keeps memory to the
// draws and the formulas. The window thread polls it, or waits for its
// progress calls, and may stop it at any time.
class BacktestRun {
 public:
  // source: the plan source, oldest first. threads 0: one per core.
  BacktestRun(std::vector<lottery::Draw> source, search::SearchSettings settings,
              std::vector<std::string> formulas, ProgressFunction onProgress = {},
              unsigned threads = 0);
  ~BacktestRun();
  BacktestRun(const BacktestRun&) = delete;
  BacktestRun& operator=(const BacktestRun&) = delete;

  // Asks the workers to end; formulas not finished by then are left out.
  // Takes effect within milliseconds. Any thread.
  void Stop() { stop_.store(true, std::memory_order_relaxed); }

  std::size_t size() const { return formulas_.size(); }
  std::size_t Completed() const { return completed_.load(std::memory_order_relaxed); }
  // Every worker has ended, through the last formula or a stop.
  bool Done() const { return done_.load(std::memory_order_acquire); }

  // The finished formulas in their list's order; waits for the workers.
  std::vector<BacktestRow> Rows();

 private:
  void Lead(std::vector<lottery::Draw> source, search::SearchSettings settings, unsigned threads);
  void Work(const search::CandidateScorer& scorer, std::size_t batch);
  void Report(bool last);

  const std::vector<std::string> formulas_;
  const ProgressFunction onProgress_;
  std::vector<search::Streaks> figures_;
  std::vector<char> finished_;
  std::atomic<std::size_t> next_{0};
  std::atomic<std::size_t> completed_{0};
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  std::atomic<std::int64_t> lastReport_{0};  // steady clock ticks
  std::thread lead_;
};

// The whole backtest on the caller's behalf, to its end.
std::vector<BacktestRow> RunBacktest(std::vector<lottery::Draw> source,
                                     search::SearchSettings settings,
                                     std::vector<std::string> formulas, unsigned threads = 0);

}  // namespace backtest
