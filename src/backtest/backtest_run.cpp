#include "backtest/backtest_run.h"

#include <algorithm>

namespace backtest {
namespace {

// A worker takes formulas by the batch, each batch about a million base
// draws of work (a few milliseconds): small enough to share the end of the
// list evenly and to show progress, large enough that the workers seldom
// meet on the shared counters.
constexpr std::size_t kBatchWork = 1 << 20;
constexpr std::size_t kLargestBatch = 64;

std::size_t BatchSize(std::size_t draws) {
  return std::clamp<std::size_t>(kBatchWork / std::max<std::size_t>(draws, 1), 1, kLargestBatch);
}

std::int64_t Now() { return std::chrono::steady_clock::now().time_since_epoch().count(); }

}  // namespace

BacktestRun::BacktestRun(std::vector<lottery::Draw> source, search::SearchSettings settings,
                         std::vector<std::string> formulas, ProgressFunction onProgress,
                         unsigned threads)
    : formulas_(std::move(formulas)),
      onProgress_(std::move(onProgress)),
      figures_(formulas_.size()),
      finished_(formulas_.size(), 0),
      lastReport_(Now()) {
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  // Preparing the draws takes a while on a long archive: off the caller's thread.
  lead_ = std::thread([this, source = std::move(source), settings, threads]() mutable {
    Lead(std::move(source), settings, threads);
  });
}

BacktestRun::~BacktestRun() {
  Stop();
  if (lead_.joinable()) lead_.join();
}

void BacktestRun::Lead(std::vector<lottery::Draw> source, search::SearchSettings settings,
                       unsigned threads) {
  const std::size_t batch = BatchSize(source.size());
  search::SearchSource draws(std::move(source));
  if (!stop_.load(std::memory_order_relaxed)) {
    const search::CandidateScorer scorer(std::move(draws), settings);
    const auto helpers = std::min<std::size_t>(threads, (formulas_.size() + batch - 1) / batch);
    std::vector<std::thread> workers;
    for (std::size_t t = 1; t < helpers; ++t) {
      workers.emplace_back([this, &scorer, batch] { Work(scorer, batch); });
    }
    Work(scorer, batch);
    for (auto& worker : workers) worker.join();
  }
  done_.store(true, std::memory_order_release);
  Report(true);
}

void BacktestRun::Work(const search::CandidateScorer& scorer, std::size_t batch) {
  while (!stop_.load(std::memory_order_relaxed)) {
    const std::size_t first = next_.fetch_add(batch);
    if (first >= formulas_.size()) return;
    const std::size_t end = std::min(first + batch, formulas_.size());
    std::size_t i = first;
    for (; i < end; ++i) {
      const auto figures = scorer.ScoreStreaks(formulas_[i], stop_);
      if (!figures) break;
      figures_[i] = *figures;
      finished_[i] = 1;
    }
    completed_.fetch_add(i - first, std::memory_order_relaxed);
    if (i < end) return;
    Report(false);
  }
}

void BacktestRun::Report(bool last) {
  if (!onProgress_) return;
  if (!last) {
    // One worker reports per interval.
    const std::int64_t now = Now();
    std::int64_t before = lastReport_.load(std::memory_order_relaxed);
    const std::int64_t interval =
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(kProgressInterval).count();
    if (now - before < interval || !lastReport_.compare_exchange_strong(before, now)) return;
  }
  onProgress_(Completed());
}

std::vector<BacktestRow> BacktestRun::Rows() {
  if (lead_.joinable()) lead_.join();
  std::vector<BacktestRow> rows;
  for (std::size_t i = 0; i < formulas_.size(); ++i) {
    if (finished_[i]) rows.push_back({i, formulas_[i], figures_[i]});
  }
  return rows;
}

std::vector<BacktestRow> RunBacktest(std::vector<lottery::Draw> source,
                                     search::SearchSettings settings,
                                     std::vector<std::string> formulas, unsigned threads) {
  BacktestRun run(std::move(source), settings, std::move(formulas), {}, threads);
  return run.Rows();
}

}  // namespace backtest
