#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "search/candidate_score.h"

namespace search {

// Scores the candidates of one search on worker threads, roughly in library
// order and ahead of the reader, who takes the results in order and scores
// candidates too while its next one is not ready. Stopping (or destroying)
// it drops whatever was scored beyond the reader.
class ParallelScoring {
 public:
  // onScored runs on a worker when it readies the candidate the reader waits
  // for (to wake a waiting window); threads 0 means one per core beside the
  // reader's.
  ParallelScoring(CandidateScorer scorer, std::vector<std::string> candidates,
                  std::function<void()> onScored, unsigned threads = 0);
  ~ParallelScoring();
  ParallelScoring(const ParallelScoring&) = delete;
  ParallelScoring& operator=(const ParallelScoring&) = delete;

  std::size_t size() const { return candidates_.size(); }
  const std::string& Candidate(std::size_t i) const { return candidates_[i]; }
  bool Ready(std::size_t i) const { return ready_[i].load(std::memory_order_acquire); }
  // Only once Ready(i).
  const Tally& Result(std::size_t i) const { return results_[i]; }

  // The reader's share: scores the next unclaimed candidate; false when none
  // is left.
  bool ScoreNext();
  // The reader is about to wait for candidate i.
  void Awaiting(std::size_t i) { awaited_.store(i); }

 private:
  void Work();
  bool Claim(std::size_t& i);
  void Store(std::size_t i, const Tally& tally);

  const CandidateScorer scorer_;
  const std::vector<std::string> candidates_;
  const std::function<void()> onScored_;
  // Written by whichever thread claims a candidate, the reader included.
  std::vector<Tally> results_;
  std::unique_ptr<std::atomic<bool>[]> ready_;
  std::atomic<std::size_t> next_{0};
  std::atomic<std::size_t> awaited_{0};
  std::atomic<bool> cancelled_{false};
  std::vector<std::thread> workers_;
};

// How the reader meets its window: asked for a stop before each candidate,
// told of every listed one, waiting while events are processed.
struct SearchHooks {
  std::function<bool()> stopRequested;
  std::function<void(std::size_t candidate, int rate)> list;
  std::function<void(const std::function<bool()>& ready)> wait;
  std::function<void(std::size_t done)> between;
};

// Goes through the candidates in library order, exactly as a one-by-one
// search would: the stop request is read before each candidate, and a
// candidate whose rate reaches the threshold is listed.
void ListScoredCandidates(ParallelScoring& scoring, int threshold, const SearchHooks& hooks);

// The label text of a long search: "正在搜索，请稍侯..... 1200/5000".
std::string SearchProgressText(std::size_t done, std::size_t total);

}  // namespace search
