// The child process that shelters the program from a crashing or hanging parser.
#include "platform/posix/child_process.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>

#include "gtest/gtest.h"

namespace lastora::detail {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kAmple(30000);

TEST(ChildProcessTest, TheAnswerComesWholeFromAnotherProcess) {
  // Many times the writer's buffer, and not a multiple of it.
  const std::string big(3 * 1000 * 1000 + 7, 'x');
  int parent_count = 0;
  const std::optional<ChildAnswer> answer = RunInChild(
      [&](AnswerWriter& out) {
        ++parent_count;  // the child's copy: the parent's stays 0
        out.Append(std::to_string(getpid()) + "#");
        out.Append(big);
        out.Append("#ende");
      },
      kAmple);
  ASSERT_TRUE(answer);
  const std::string_view bytes = answer->bytes();
  const std::string pid(bytes.substr(0, bytes.find('#')));
  EXPECT_NE(pid, std::to_string(getpid()));
  EXPECT_EQ(bytes, pid + "#" + big + "#ende");
  EXPECT_EQ(parent_count, 0);

  const std::optional<ChildAnswer> nothing = RunInChild([](AnswerWriter&) {}, kAmple);
  ASSERT_TRUE(nothing);
  EXPECT_EQ(nothing->bytes(), "");
}

TEST(ChildProcessTest, AChildThatDiesBeforeItsWorkReturnedLeavesNoAnswer) {
  for (const int signal_number : {SIGSEGV, SIGABRT, SIGBUS}) {
    EXPECT_EQ(RunInChild(
                  [&](AnswerWriter& out) {
                    out.Append("halb");
                    out.Flush();
                    ::raise(signal_number);
                  },
                  kAmple),
              std::nullopt)
        << signal_number;
  }
  EXPECT_EQ(RunInChild(
                [](AnswerWriter& out) {
                  out.Append("halb");
                  out.Flush();
                  ::_exit(0);
                },
                kAmple),
            std::nullopt);
  EXPECT_EQ(RunInChild([](AnswerWriter&) { throw std::runtime_error("kaputt"); }, kAmple),
            std::nullopt);
}

TEST(ChildProcessTest, AHangingChildIsKilledAtTheLimit) {
  for (const bool spins : {false, true}) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunInChild(
                  [&](AnswerWriter& out) {
                    out.Append("halb");
                    volatile bool forever = true;
                    while (forever) {
                      if (!spins) ::pause();
                    }
                  },
                  milliseconds(200)),
              std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << spins;
  }
}

TEST(ChildProcessTest, ACallerThatIgnoresItsChildrenStillGetsTheAnswer) {
  // With SIGCHLD ignored the kernel reaps the child at once and its exit status is lost.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction before {};
  ASSERT_EQ(::sigaction(SIGCHLD, &ignore, &before), 0);
  const std::optional<ChildAnswer> answer =
      RunInChild([](AnswerWriter& out) { out.Append("da"); }, kAmple);
  const std::optional<ChildAnswer> crashed = RunInChild(
      [](AnswerWriter& out) {
        out.Flush();
        ::raise(SIGSEGV);
      },
      kAmple);
  ::sigaction(SIGCHLD, &before, nullptr);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->bytes(), "da");
  EXPECT_EQ(crashed, std::nullopt);
}

}  // namespace
}  // namespace lastora::detail
