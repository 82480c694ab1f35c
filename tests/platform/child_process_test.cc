// The child process that shelters the program from a crashing parser.
#include "platform/posix/child_process.h"

#include <signal.h>
#include <unistd.h>

#include <string>

#include "gtest/gtest.h"

namespace lastora::detail {
namespace {

TEST(ChildProcessTest, OutputComesBackOnlyFromAChildThatFinished) {
  // Large enough to fill the pipe many times over while the parent is still reading.
  const std::string big(3 << 20, 'x');
  EXPECT_EQ(RunInChild([&](std::string& out) { out = big + std::string(1, '\0') + "Ende"; }),
            big + std::string(1, '\0') + "Ende");
  EXPECT_EQ(RunInChild([](std::string&) {}), "");

  EXPECT_EQ(RunInChild([](std::string& out) {
              out = "halb";
              ::raise(SIGSEGV);
            }),
            std::nullopt);
  EXPECT_EQ(RunInChild([](std::string&) { ::_exit(0); }), std::nullopt);
  EXPECT_EQ(RunInChild([](std::string&) { ::abort(); }), std::nullopt);
}

}  // namespace
}  // namespace lastora::detail
