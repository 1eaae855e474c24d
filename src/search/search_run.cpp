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
  // The reader scores as well, so it takes a core of its own.
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency() - 1);
  if (threads > candidates_.size()) threads = static_cast<unsigned>(candidates_.size());
  for (unsigned t = 0; t < threads; ++t) workers_.emplace_back([this] { Work(); });
}

ParallelScoring::~ParallelScoring() {
  cancelled_.store(true);
  for (auto& worker : workers_) worker.join();
}

bool ParallelScoring::Claim(std::size_t& i) {
  if (cancelled_.load(std::memory_order_relaxed)) return false;
  i = next_.fetch_add(1);
  return i < candidates_.size();
}

void ParallelScoring::Store(std::size_t i, const Tally& tally) {
  results_[i] = tally;
  ready_[i].store(true);
  // Only the candidate the reader waits for is worth a wake-up; the reader
  // names it before it looks whether it is ready, so one of the two sees
  // the other.
  if (onScored_ && awaited_.load() == i) onScored_();
}

void ParallelScoring::Work() {
  for (std::size_t i = 0; Claim(i);) Store(i, scorer_.Score(candidates_[i]));
}

bool ParallelScoring::ScoreNext() {
  std::size_t i = 0;
  if (!Claim(i)) return false;
  Store(i, scorer_.Score(candidates_[i]));
  return true;
}

void ListScoredCandidates(ParallelScoring& scoring, int threshold, const SearchHooks& hooks) {
  for (std::size_t i = 0; i < scoring.size(); ++i) {
    if (hooks.stopRequested()) return;
    while (!scoring.Ready(i) && scoring.ScoreNext()) {
    }
    scoring.Awaiting(i);
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
