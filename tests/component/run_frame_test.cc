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

TEST(RunFrame, FinishedWorkGivesOkAndReturnsTheChangedSettings) {
  const FrameRun run = RunFramed("Exit", FinishRule::kOk, [](RunContext& context) {
    EXPECT_EQ(context.result, "Exit");
    EXPECT_EQ(context.settings.KreditorNAME.Value, "v1");
    context.settings.ProgBearFehl.Value = "3";
    context.result = "ignored on a normal end";
    return RunEnd::kFinished;
  });
  EXPECT_EQ(run.result, "ok");
  ASSERT_EQ(run.cells.Count(), 206);
  EXPECT_EQ(run.cells.At(94), Variant("3"));
}

TEST(RunFrame, EachFinishRuleDecidesWhatANormalEndReturns) {
  struct Case {
    FinishRule rule;
    std::string start;
    std::string set_by_work;  // "" leaves the result alone
    std::string expected;
  };
  const Case cases[] = {
      {FinishRule::kOkIfStillStart, "Exit", "", "ok"},
      {FinishRule::kOkIfStillStart, "Exit", "DTAUS-Checker: Betragsumme falsch",
       "DTAUS-Checker: Betragsumme falsch"},
      {FinishRule::kResultFromWork, "", "", ""},
      {FinishRule::kResultFromWork, "", "XML-Parser-Fehler", "XML-Parser-Fehler"},
  };
  for (const Case& c : cases) {
    const FrameRun run = RunFramed(c.start, c.rule, [&](RunContext& context) {
      if (!c.set_by_work.empty()) context.result = c.set_by_work;
      return RunEnd::kFinished;
    });
    EXPECT_EQ(run.result, c.expected) << c.set_by_work;
    EXPECT_EQ(run.cells.Count(), 206);
  }
}

TEST(RunFrame, AStoppingCheckKeepsItsMessageAndStillCopiesBack) {
  const FrameRun run = RunFramed("Exit", FinishRule::kOk, [](RunContext& context) {
    context.result = Message(93);
    context.settings.ProgBearFehl.Value = "1";
    return RunEnd::kStopped;
  });
  EXPECT_EQ(run.result, "Kein Auftraggeber angegeben");
  ASSERT_EQ(run.cells.Count(), 206);
  EXPECT_EQ(run.cells.At(94), Variant("1"));
}

TEST(RunFrame, StopBeforeCopyBackLeavesTheCallersArrayAsPassed) {
  const FrameRun run = RunFramed("", FinishRule::kResultFromWork, [](RunContext& context) {
    context.result = Message(92);
    context.settings.KreditorNAME.Value = "changed";
    return RunEnd::kStoppedBeforeCopyBack;
  });
  EXPECT_EQ(run.result, "Gläubiger ID falsch");
  ASSERT_EQ(run.cells.Count(), 300);
  EXPECT_EQ(run.cells.At(1), Variant("v1"));
  EXPECT_EQ(run.cells.At(300), Variant("v300"));
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

TEST(RunFrame, CatalogueIsLoadedBeforeTheWork) {
  std::string first_entry;
  std::thread fresh([&] {
    RunFramed("Exit", FinishRule::kOk, [&](RunContext&) {
      first_entry = aMeldungen()[1];
      return RunEnd::kFinished;
    });
  });
  fresh.join();
  EXPECT_EQ(first_entry, "Hinweis");
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
    // Another object in the same thread finds the catalogue loaded and keeps it.
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
