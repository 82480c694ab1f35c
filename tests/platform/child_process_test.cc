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
constexpr size_t kAllowance = 256 << 20;

// Answers "<pid>#<requests this child served>#<request>", and does to itself what the request
// says.
class ChildServerTest : public ::testing::Test {
 protected:
  static bool Serve(std::string_view request, AnswerWriter& out) {
    static int served = 0;  // the child's copy
    out.Append(std::to_string(::getpid()) + "#" + std::to_string(++served) + "#");
    out.Append(request);
    // Many times the writer's buffer, and not a multiple of it.
    if (request == "big") out.Append(std::string(3 * 1000 * 1000 + 7, 'x'));
    out.Flush();
    if (request == "SIGSEGV") ::raise(SIGSEGV);
    if (request == "exit") ::_exit(0);
    if (request == "throw") throw std::runtime_error("kaputt");
    volatile bool forever = request == "sleep" || request == "spin";
    while (forever) {
      if (request == "sleep") ::pause();
    }
    return request != "retire";
  }

  // The whole answer; nullopt when it did not come whole.
  std::optional<std::string> Ask(std::string_view request, milliseconds limit = kAmple) {
    std::string answer;
    if (!server_.Ask(request, limit, [&](std::string_view piece) { answer.append(piece); })) {
      return std::nullopt;
    }
    return answer;
  }

  // The pid of the child that answered.
  std::string Pid(std::string_view request) {
    const std::optional<std::string> answer = Ask(request);
    return answer ? answer->substr(0, answer->find('#')) : "";
  }

  ChildServer server_{Serve, kAllowance};
};

TEST_F(ChildServerTest, AnswersComeWholeFromOneChildThatStays) {
  const std::optional<std::string> first = Ask("a");
  const std::optional<std::string> second = Ask("big");
  ASSERT_TRUE(first && second);
  const std::string pid = first->substr(0, first->find('#'));
  EXPECT_NE(pid, std::to_string(::getpid()));
  EXPECT_EQ(*first, pid + "#1#a");
  EXPECT_EQ(*second, pid + "#2#big" + std::string(3 * 1000 * 1000 + 7, 'x'));
}

TEST_F(ChildServerTest, AChildThatDiesOrRetiresIsReplaced) {
  std::string pid = Pid("a");
  ASSERT_FALSE(pid.empty());
  for (const char* death : {"SIGSEGV", "exit", "throw"}) {
    EXPECT_EQ(Ask(death), std::nullopt) << death;
    const std::string next = Pid("a");
    EXPECT_FALSE(next.empty()) << death;
    EXPECT_NE(next, pid) << death;
    pid = next;
  }
  // A child that met damage still answers, but no further request reaches it.
  EXPECT_EQ(Pid("retire"), pid);
  const std::string after_retiring = Pid("a");
  EXPECT_FALSE(after_retiring.empty());
  EXPECT_NE(after_retiring, pid);
}

TEST_F(ChildServerTest, AHangingChildIsKilledAtTheLimitAndReplaced) {
  for (const char* hang : {"sleep", "spin"}) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Ask(hang, milliseconds(200)), std::nullopt) << hang;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << hang;
    EXPECT_FALSE(Pid("a").empty()) << hang;
  }
}

}  // namespace
}  // namespace lastora::detail
