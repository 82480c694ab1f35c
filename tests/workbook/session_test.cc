#include "lastora/session.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "component/helpers.h"
#include "support/test_platform.h"

namespace lastora {
namespace {

TEST(SessionTest, PutsTheCallersClockDialogsAndFolderBack) {
  const auto clock = std::make_shared<testing::FixedClock>(1.0);
  const auto dialogs = std::make_shared<testing::ScriptedDialogs>();
  const std::shared_ptr<Clock> outer_clock = SetClock(clock);
  const std::shared_ptr<Dialogs> outer_dialogs = SetDialogs(dialogs);
  const std::string outer_home = GetAppPath();
  {
    ScopedSession session({"2026-03-02 09:30:00", "/tmp/verein"},
                          std::make_shared<testing::ScriptedDialogs>());
    EXPECT_EQ(GetClock()->Now(), MakeDate(2026, 3, 2) + MakeTime(9, 30, 0));
    EXPECT_NE(GetDialogs(), dialogs);
    EXPECT_EQ(GetAppPath(), "/tmp/verein");
  }
  EXPECT_EQ(GetClock(), clock);
  EXPECT_EQ(GetDialogs(), dialogs);
  EXPECT_EQ(GetAppPath(), outer_home);
  EXPECT_THROW(ScopedSession({"morgen", ""}, dialogs), std::invalid_argument);
  EXPECT_EQ(GetClock(), clock);
  SetClock(outer_clock);
  SetDialogs(outer_dialogs);
}

}  // namespace
}  // namespace lastora
