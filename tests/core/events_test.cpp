#include "core/events.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace core {
namespace {

// The order every event keeps: the archive stores the new draws before the
// trend chart reads them, the collection is written before it is sent.
constexpr std::array kStageOrder = {Stage::Archive, Stage::TrendChart, Stage::Collection,
                                    Stage::Push};

TEST(Events, StagesRunInTheirOrderWhateverOrderTheySubscribedIn) {
  std::array<Stage, kStageOrder.size()> subscribing = kStageOrder;
  std::sort(subscribing.begin(), subscribing.end());
  int orders = 0;
  do {
    Events events;
    std::vector<Stage> ran;
    for (Stage stage : subscribing) {
      events.Subscribe(Event::DrawInserted, stage, [&ran, stage] { ran.push_back(stage); });
    }
    events.Raise(Event::DrawInserted);
    EXPECT_EQ(ran, std::vector<Stage>(kStageOrder.begin(), kStageOrder.end()))
        << "subscription order " << orders;
    ++orders;
  } while (std::next_permutation(subscribing.begin(), subscribing.end()));
  EXPECT_EQ(orders, 24);
}

TEST(Events, OneStageKeepsItsSubscriptionOrderAndOnlyTheRaisedEventRuns) {
  Events events;
  std::string ran;
  events.Subscribe(Event::DrawInserted, Stage::Collection, [&ran] { ran += "first "; });
  events.Subscribe(Event::ArchiveChanged, Stage::Archive, [&ran] { ran += "other "; });
  events.Subscribe(Event::DrawInserted, Stage::Collection, [&ran] { ran += "second "; });
  events.Subscribe(Event::DrawInserted, Stage::Archive, [&ran] { ran += "archive "; });
  events.Raise(Event::DrawInserted);
  EXPECT_EQ(ran, "archive first second ");

  ran.clear();
  events.Raise(Event::CollectionRebuilt);
  EXPECT_EQ(ran, "");
}

TEST(Events, AnEventRaisedBySubscriberRunsWhollyBeforeTheNextStage) {
  Events events;
  std::string ran;
  events.Subscribe(Event::CollectionRebuilt, Stage::Push, [&ran] { ran += "send "; });
  events.Subscribe(Event::DrawInserted, Stage::Collection, [&] {
    ran += "compose ";
    events.Raise(Event::CollectionRebuilt);
  });
  events.Subscribe(Event::ArchiveChanged, Stage::TrendChart, [&ran] { ran += "chart "; });
  events.Subscribe(Event::DrawInserted, Stage::Archive, [&] {
    ran += "store ";
    events.Raise(Event::ArchiveChanged);
  });
  events.Raise(Event::DrawInserted);
  EXPECT_EQ(ran, "store chart compose send ");
}

}  // namespace
}  // namespace core
