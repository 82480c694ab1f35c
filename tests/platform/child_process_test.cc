// The child process that shelters the program from a crashing parser.
#include "platform/posix/child_process.h"

#include <signal.h>
#include <unistd.h>

#include <string>

#include "gtest/gtest.h"

namespace lastora::detail {
namespace {

TEST(ChildProcessTest, AnswersComeFromOneChildThatKeepsItsState) {
  // Large enough to fill the socket many times over while the parent is still reading.
  const std::string big(3 << 20, 'x');
  int parent_count = 0;
  ChildWorker worker([&](std::string_view request, std::string& answer) {
    ++parent_count;  // the child's copy: the parent's stays 0
    answer =
        std::string(request) + "#" + std::to_string(parent_count) + "#" + std::to_string(getpid());
    if (request == "gross") answer += big;
  });
  const std::optional<std::string> first = worker.Ask("a");
  const std::optional<std::string> second = worker.Ask("gross");
  ASSERT_TRUE(first && second);
  const std::string pid = first->substr(first->rfind('#') + 1);
  EXPECT_NE(pid, std::to_string(getpid()));
  EXPECT_EQ(*first, "a#1#" + pid);
  EXPECT_EQ(*second, "gross#2#" + pid + big);
  EXPECT_EQ(parent_count, 0);
}

TEST(ChildProcessTest, ACrashIsAnAnswerMissingNotTheEndOfTheProgram) {
  for (const int signal_number : {SIGSEGV, SIGABRT, SIGBUS}) {
    ChildWorker worker([&](std::string_view request, std::string& answer) {
      answer = "halb";
      if (request == "stirb") ::raise(signal_number);
    });
    EXPECT_EQ(worker.Ask("lebst du"), "halb");
    EXPECT_EQ(worker.Ask("stirb"), std::nullopt) << signal_number;
    EXPECT_EQ(worker.Ask("lebst du"), std::nullopt);
  }
  ChildWorker quits([](std::string_view, std::string&) { ::_exit(0); });
  EXPECT_EQ(quits.Ask("x"), std::nullopt);
}

}  // namespace
}  // namespace lastora::detail
