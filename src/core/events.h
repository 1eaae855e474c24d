#pragma once

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace core {

// What one area tells the others, so later areas follow the draws without a
// cycle.
enum class Event {
  DrawsRefreshed,     // a full refresh filled the draw list
  DrawInserted,       // an automatic update inserted a new draw and refreshed the plans
  ArchiveChanged,     // draws were added to the archive: a refresh, an update, an import
  CollectionRebuilt,  // the collection was rebuilt by itself for a new draw
};

// Who follows an event, in the order they run on every event. This order is
// the only one: the archive stores the new draws before the pages that read
// the archive, and the collection is written before it is sent.
enum class Stage {
  Archive,
  TrendChart,
  Collection,
  Push,
};

// The subscribers of every event, kept in stage order; subscribers of one
// stage run in the order they subscribed.
class Events {
 public:
  void Subscribe(Event event, Stage stage, std::function<void()> run) {
    auto later = std::upper_bound(
        subscribers_.begin(), subscribers_.end(), stage,
        [](Stage before, const Subscriber& subscriber) { return before < subscriber.stage; });
    subscribers_.insert(later, Subscriber{event, stage, std::move(run)});
  }

  // A subscriber may raise another event, whose subscribers all run before
  // the next stage of this one; it may not subscribe.
  void Raise(Event event) const {
    for (const Subscriber& subscriber : subscribers_) {
      if (subscriber.event == event) subscriber.run();
    }
  }

 private:
  struct Subscriber {
    Event event;
    Stage stage;
    std::function<void()> run;
  };
  std::vector<Subscriber> subscribers_;
};

}  // namespace core
