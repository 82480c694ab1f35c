// Runs the program in-process as a user would from a shell, and keeps what it printed.
#ifndef LASTORA_TESTS_CLI_LASTORA_RUNNER_H_
#define LASTORA_TESTS_CLI_LASTORA_RUNNER_H_

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "lastora_cli.h"

namespace lastora::cli::testing {

struct Ran {
  int status = -1;
  std::string out;
  std::string err;
};

// Every run answers dialogs with their defaults and uses a fixed clock, as CI has no terminal.
inline Ran Lastora(std::vector<std::string> args, const std::string& now = "2026-03-02 09:30:00") {
  args.insert(args.begin(), {"--yes", "--now", now});
  std::ostringstream out, err;
  Ran ran;
  ran.status = RunLastora(std::move(args), out, err);
  ran.out = out.str();
  ran.err = err.str();
  return ran;
}

// Either way the whole text goes into the message, so a failing check shows what was printed.
inline ::testing::AssertionResult Contains(const std::string& text, const std::string& part) {
  if (text.find(part) == std::string::npos) {
    return ::testing::AssertionFailure() << "\"" << part << "\" missing from:\n" << text;
  }
  return ::testing::AssertionSuccess() << "\"" << part << "\" found in:\n" << text;
}

// The run ended with `status` and printed `part` on its output (Says) or its errors (Complains).
inline ::testing::AssertionResult Ended(const Ran& ran, int status, const std::string& printed,
                                        const std::string& part) {
  if (ran.status == status && printed.find(part) != std::string::npos) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "status " << ran.status << ", expected " << status << " and \"" << part << "\" in:\n"
         << printed;
}
inline ::testing::AssertionResult Says(const Ran& ran, int status, const std::string& part) {
  return Ended(ran, status, ran.out, part);
}
inline ::testing::AssertionResult Complains(const Ran& ran, int status, const std::string& part) {
  return Ended(ran, status, ran.err, part);
}

}  // namespace lastora::cli::testing

#endif  // LASTORA_TESTS_CLI_LASTORA_RUNNER_H_
