#include "lottery/lottery.h"

namespace lottery {

using namespace std::chrono_literals;

const Lottery& Chongqing() {
  static const Lottery chongqing{
      .id = "chongqing",
      .name = "重庆",
      .schedule = Schedule(
          {
              {.start = 10h, .end = 22h, .cadence = 10min, .countdownDelay = 2s},
              {.start = 22h, .end = 2h, .cadence = 5min, .countdownDelay = 0s},
          },
          /*dayEnd=*/0h, /*giveUpAfter=*/2min),
      .digits = 5,
      .sources = {.history = "/kaijiang/kaijiang?lotId=255401&spanType=2&span=",
                  .firstFeed = "/static/public/ssc/xml/newlyopen.xml",
                  .secondFeed = "/static/ssc/newlyopenlist.xml"},
  };
  return chongqing;
}

}  // namespace lottery
