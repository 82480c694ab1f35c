#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "lastora/platform.h"

namespace lastora {
namespace {

// A clock that knows whether it is still alive and how many of its kind are.
class CheckedClock : public Clock {
 public:
  static constexpr uint32_t kAlive = 0xC10C4A11;
  explicit CheckedClock(double now) : now_(now) { ++live_; }
  ~CheckedClock() override {
    state_ = 0;
    --live_;
  }
  // -1 when called on a clock that was destroyed under the caller.
  double Now() override { return state_ == kAlive ? now_ : -1; }
  static int Live() { return live_; }

 private:
  static inline std::atomic<int> live_{0};
  volatile uint32_t state_ = kAlive;
  double now_;
};

TEST(PortsTest, ThreadsReplacingAndUsingTheClockOnlyEverCallALiveOne) {
  const std::shared_ptr<Clock> previous = SetClock(std::make_shared<CheckedClock>(0));
  std::atomic<int> dead_calls{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t) {
    threads.emplace_back([] {
      for (int i = 1; i <= 2000; ++i) SetClock(std::make_shared<CheckedClock>(i));
    });
    threads.emplace_back([&dead_calls] {
      for (int i = 0; i < 20000; ++i) {
        if (GetClock()->Now() < 0) ++dead_calls;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(dead_calls.load(), 0);
  SetClock(previous);
  EXPECT_EQ(CheckedClock::Live(), 0);
}

}  // namespace
}  // namespace lastora
