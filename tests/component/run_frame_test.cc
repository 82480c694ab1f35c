#include "component/run_frame.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <thread>

#include "component/catalogue.h"
#include "lastora/class1.h"
#include "lastora/vb_error.h"

namespace lastora {
namespace {

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

// How the work ends decides the result text and whether its changed settings reach the caller.
TEST(RunFrame, TheWayTheWorkEndsDecidesResultAndCopyBack) {
  struct Case {
    FinishRule rule;
    std::string start;
    RunEnd end;
    std::string set_by_work;  // "" leaves the result alone
    std::string expected;
  };
  const Case cases[] = {
      {FinishRule::kOk, "Exit", RunEnd::kFinished, "ignored on a normal end", "ok"},
      {FinishRule::kOkIfStillStart, "Exit", RunEnd::kFinished, "", "ok"},
      {FinishRule::kOkIfStillStart, "Exit", RunEnd::kFinished, "DTAUS-Checker: Betragsumme falsch",
       "DTAUS-Checker: Betragsumme falsch"},
      {FinishRule::kResultFromWork, "", RunEnd::kFinished, "", ""},
      {FinishRule::kResultFromWork, "", RunEnd::kFinished, "XML-Parser-Fehler",
       "XML-Parser-Fehler"},
      // A stopping check keeps its message under every rule.
      {FinishRule::kOk, "Exit", RunEnd::kStopped, "Kein Auftraggeber angegeben",
       "Kein Auftraggeber angegeben"},
      {FinishRule::kResultFromWork, "", RunEnd::kStoppedBeforeCopyBack, "Gläubiger ID falsch",
       "Gläubiger ID falsch"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    const FrameRun run = RunFramed(c.start, c.rule, [&](RunContext& context) {
      EXPECT_EQ(context.result, c.start);
      EXPECT_EQ(context.settings.KreditorNAME.Value, "v1");
      context.settings.ProgBearFehl.Value = "changed";
      if (!c.set_by_work.empty()) context.result = c.set_by_work;
      return c.end;
    });
    EXPECT_EQ(run.result, c.expected);
    if (c.end == RunEnd::kStoppedBeforeCopyBack) {
      ASSERT_EQ(run.cells.Count(), 300);
      EXPECT_EQ(run.cells.At(94), Variant("v94"));
      EXPECT_EQ(run.cells.At(300), Variant("v300"));
    } else {
      ASSERT_EQ(run.cells.Count(), 206);
      EXPECT_EQ(run.cells.At(94), Variant("changed"));
    }
  }
}

TEST(RunFrame, FailuresBecomeTheFehlerFormOnOneLine) {
  struct Case {
    std::function<void()> fail;
    std::string expected;
  };
  const Case cases[] = {
      {[] { throw VbError(13); }, "Fehler: Typen unverträglich (13)"},
      {[] { throw VbError(1004, "Zeile eins\r\nZeile zwei\r\n"); },
       "Fehler: Zeile eins / Zeile zwei /  (1004)"},
      {[] { throw std::bad_alloc(); }, "Fehler: Nicht genügend Speicher (7)"},
      {[] { throw std::logic_error("anything"); }, "Fehler: Interner Fehler (51)"},
  };
  for (const Case& failure : cases) {
    const FrameRun run = RunFramed("Exit", FinishRule::kOk, [&](RunContext& context) {
      context.settings.ProgBearFehl.Value = "before the failure";
      failure.fail();
      return RunEnd::kFinished;
    });
    EXPECT_EQ(run.result, failure.expected);
    ASSERT_EQ(run.cells.Count(), 206);
    EXPECT_EQ(run.cells.At(94), Variant("before the failure"));
  }
}

TEST(Class1Objects, ShareTheThreadsCatalogueButNotFieldsOrSettings) {
  std::string first_result;
  std::string catalogue_after_second_run;
  Class1 first;
  Class1 second;
  std::thread caller([&] {
    Table values, colours, bank_codes, new_bank_codes;
    VariantArray too_short = Numbered(10);
    first_result =
        first.ext_DTAUS_Checker(too_short, values, colours, bank_codes, new_bank_codes, "", false);
    // The first run loaded the catalogue; another object in the same thread keeps it.
    strSprache() = "english";
    VariantArray also_short = Numbered(3);
    second.ext_DTAUS_Checker(also_short, values, colours, bank_codes, new_bank_codes, "", false);
    catalogue_after_second_run = aMeldungen()[1];
  });
  caller.join();
  EXPECT_EQ(first_result, "Fehler: Index außerhalb des gültigen Bereichs (9)");
  EXPECT_EQ(catalogue_after_second_run, "Hinweis");
  EXPECT_EQ(first.settings().KreditorNAME.Value, "v1");
  EXPECT_EQ(first.settings().UserMAIL.Value, "v10");
  EXPECT_EQ(second.settings().KreditorNAME.Value, "v1");
  EXPECT_EQ(second.settings().UserMAIL.Value, "");

  first.lngZZ_FEHL = 4;
  first.strBLZPath = "blz.txt";
  EXPECT_EQ(second.lngZZ_FEHL, 0);
  EXPECT_EQ(second.strBLZPath, "");
}

}  // namespace
}  // namespace lastora
