// The frame around a run's work that decides the result and the copy back of the settings array.
#include "component/run_frame.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>

#include "lastora/settings.h"
#include "lastora/vb_error.h"

namespace lastora {
namespace {

// Cell i holds the text "v<i>", so every cell's way through the record can be followed.
VariantArray Numbered(int32_t count) {
  VariantArray cells(count, 1);
  for (int32_t i = 1; i <= count; ++i) cells.At(i) = Variant("v" + std::to_string(i));
  return cells;
}

// Runs work in a frame over a fresh 300-cell settings array, which the copy back cuts to 206.
struct FrameRun {
  std::string result;
  VariantArray cells = Numbered(300);
};

FrameRun RunFramed(const std::string& start, FinishRule finish,
                   const std::function<RunEnd(RunContext&)>& work) {
  FrameRun run;
  SEPAVARIABLEN record;
  run.result = RunInFrame(start, finish, run.cells, record, work);
  return run;
}

TEST(RunFrame, TheWayTheWorkEndsOrFailsDecidesResultAndCopyBack) {
  // The work sets the result unless its text is "".
  const std::tuple<FinishRule, std::string, RunEnd, std::string, std::string> cases[] = {
      {FinishRule::kOk, "Exit", RunEnd::kFinished, "ignoriert", "ok"},
      {FinishRule::kOkIfStillStart, "Exit", RunEnd::kFinished, "Summe falsch", "Summe falsch"},
      // A stopping check keeps its message under every rule.
      {FinishRule::kOk, "Exit", RunEnd::kStopped, "Kein Auftraggeber", "Kein Auftraggeber"},
      {FinishRule::kResultFromWork, "", RunEnd::kStoppedBeforeCopyBack, "Gläubiger", "Gläubiger"},
  };
  for (const auto& [rule, start, end, set_by_work, expected] : cases) {
    // Captured one by one: some compilers cannot capture structured bindings.
    const FrameRun run =
        RunFramed(start, rule, [&s = start, &w = set_by_work, e = end](auto& context) {
          EXPECT_EQ(context.result, s);
          context.settings.ProgBearFehl.Value = "changed";
          if (!w.empty()) context.result = w;
          return e;
        });
    EXPECT_EQ(run.result, expected);
    const bool copied_back = end != RunEnd::kStoppedBeforeCopyBack;
    EXPECT_EQ(run.cells.Count(), copied_back ? 206 : 300);
    EXPECT_EQ(run.cells.At(94), Variant(copied_back ? "changed" : "v94"));
  }

  // Failures become the "Fehler:" form on one line.
  const std::pair<std::function<void()>, std::string> failures[] = {
      {[] { throw VbError(13); }, "Fehler: Typen unverträglich (13)"},
      {[] { throw VbError(1004, "Zeile eins\r\nZeile zwei\r\n"); },
       "Fehler: Zeile eins / Zeile zwei /  (1004)"},
      {[] { throw std::logic_error("anything"); }, "Fehler: Interner Fehler (51)"},
  };
  for (const auto& [fail, expected] : failures) {
    const FrameRun run = RunFramed("Exit", FinishRule::kOk, [&fail = fail](RunContext& context) {
      context.settings.ProgBearFehl.Value = "before the failure";
      fail();
      return RunEnd::kFinished;
    });
    EXPECT_EQ(run.result, expected);
    EXPECT_EQ(run.cells.At(94), Variant("before the failure"));
  }
}

}  // namespace
}  // namespace lastora
