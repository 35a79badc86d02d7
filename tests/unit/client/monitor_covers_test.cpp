// The covers over the monitors that the lock window does not fill.
#include "client/monitor_covers.h"

#include <gtest/gtest.h>

namespace sentavo::client::test {
namespace {

using Rects = std::vector<ScreenRect>;

constexpr ScreenRect kPrimary{0, 0, 1920, 1080};

TEST(CoverRects, OneMonitorFilledByTheLockWindowNeedsNoCover) {
  EXPECT_EQ(CoverRects({kPrimary}, kPrimary), Rects{});
  EXPECT_EQ(CoverRects({}, kPrimary), Rects{});
}

TEST(CoverRects, EveryOtherMonitorIsCoveredWholeWhereverItLies) {
  const ScreenRect right{1920, 0, 3200, 1024};
  const ScreenRect left{-1280, 200, 0, 1224};  // left of the primary, lower down
  const ScreenRect above{0, -1080, 1920, 0};
  EXPECT_EQ(CoverRects({kPrimary, right}, kPrimary), Rects{right});
  EXPECT_EQ(CoverRects({left, kPrimary, above, right}, kPrimary), (Rects{left, above, right}));
  // The lock window on the second monitor: the primary is covered instead.
  EXPECT_EQ(CoverRects({kPrimary, right}, right), Rects{kPrimary});
}

TEST(CoverRects, APartlyFilledMonitorGetsTheBandsAroundTheLockWindowOnly) {
  // A lock window not yet maximised: 100 px free above, 80 below, 10 left, 20 right.
  const ScreenRect lock{10, 100, 1900, 1000};
  EXPECT_EQ(
      CoverRects({kPrimary}, lock),
      (Rects{
          {0, 0, 1920, 100}, {0, 1000, 1920, 1080}, {0, 100, 10, 1000}, {1900, 100, 1920, 1000}}));
  // A lock window larger than its monitor, reaching into the next one.
  const ScreenRect next{1920, 0, 3840, 1080};
  EXPECT_EQ(CoverRects({kPrimary, next}, {-8, -8, 1928, 1088}), (Rects{{1928, 0, 3840, 1080}}));
}

TEST(CoverRects, MirroredAndEmptyMonitorsGetNoSecondCover) {
  const ScreenRect other{1920, 0, 3840, 1080};
  EXPECT_EQ(CoverRects({kPrimary, other, other, kPrimary, {5000, 0, 5000, 900}}, kPrimary),
            Rects{other});
}

}  // namespace
}  // namespace sentavo::client::test
