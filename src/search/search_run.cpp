#include "search/search_run.h"

namespace search {

ParallelScoring::ParallelScoring(CandidateScorer scorer, std::vector<std::string> candidates,
                                 std::function<void()> onScored, unsigned threads)
    : scorer_(std::move(scorer)),
      candidates_(std::move(candidates)),
      onScored_(std::move(onScored)),
      results_(candidates_.size()),
      ready_(new std::atomic<bool>[candidates_.size()]) {
  for (std::size_t i = 0; i < candidates_.size(); ++i) ready_[i].store(false);
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  if (threads > candidates_.size()) threads = static_cast<unsigned>(candidates_.size());
  for (unsigned t = 0; t < threads; ++t) workers_.emplace_back([this] { Work(); });
}

ParallelScoring::~ParallelScoring() {
  cancelled_.store(true);
  for (auto& worker : workers_) worker.join();
}

void ParallelScoring::Work() {
  while (!cancelled_.load(std::memory_order_relaxed)) {
    const std::size_t i = next_.fetch_add(1);
    if (i >= candidates_.size()) return;
    results_[i] = scorer_.Score(candidates_[i]);
    ready_[i].store(true, std::memory_order_release);
    if (onScored_) onScored_();
  }
}

void ListScoredCandidates(const ParallelScoring& scoring, int threshold, const SearchHooks& hooks) {
  for (std::size_t i = 0; i < scoring.size(); ++i) {
    if (hooks.stopRequested()) return;
    while (!scoring.Ready(i)) hooks.wait([&] { return scoring.Ready(i); });
    const int rate = RatePercent(scoring.Result(i));
    if (rate >= threshold) hooks.list(i, rate);
    hooks.between(i + 1);
  }
}

std::string SearchProgressText(std::size_t done, std::size_t total) {
  return "正在搜索，请稍侯..... " + std::to_string(done) + "/" + std::to_string(total);
}

}  // namespace search
