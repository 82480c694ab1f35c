// A mail merge on a machine where the server cannot drive the office programs: the run ends with
// its own words, never with an automation error or a crash.
#include <filesystem>
#include <string>

#include "com/late_bound.h"
#include "com/sheet_arrays.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace lastora::testing {
namespace {

namespace fs = std::filesystem;

VARIANT Number(VARTYPE kind, LONG value) {
  VARIANT argument;
  VariantInit(&argument);
  V_VT(&argument) = kind;
  if (kind == VT_I2) V_I2(&argument) = static_cast<SHORT>(value);
  if (kind == VT_I4) V_I4(&argument) = value;
  if (kind == VT_BOOL) V_BOOL(&argument) = value != 0 ? VARIANT_TRUE : VARIANT_FALSE;
  return argument;
}

TEST_F(LateBoundTest, AMailMergeWithoutTheOfficeProgramsEndsInTheRunsOwnWords) {
  ScopedTempDir home;
  const ScopedEnv home_variable("LASTORA_HOME", home.path().string());
  const std::string letter = (home.path() / "Beitrag.docx").string();
  WriteBytes(letter, "PK");

  Table header(1, 2), records(2, 2), definitions(1, 24);
  header(1, 1) = "Name";
  header(1, 2) = "Ort";
  records(1, 1) = "Karin Albers";
  records(2, 1) = "Jürgen Bäcker";
  definitions(1, 2) = letter;
  definitions(1, 4) = "Name";
  Var records_arg, header_arg, definitions_arg, iban(L"");
  PutRange(records, &records_arg.v);
  PutRange(header, &header_arg.v);
  PutRange(definitions, &definitions_arg.v);
  const std::string result = object_->Text(
      L"ext_CreateSerienbrief", {Number(VT_I4, 1), records_arg.v, header_arg.v, definitions_arg.v,
                                 Number(VT_I2, 0), Number(VT_I4, 0), iban.v, Number(VT_I4, 0),
                                 Number(VT_I4, 0), Number(VT_BOOL, 1), Number(VT_BOOL, 0)});
  // The template cannot be opened: the definition is skipped and the run counts nothing.
  EXPECT_EQ(result.rfind("Seriendruck ok: Anzahl Dokumente: 0 ", 0), 0u) << result;
  // The object lives on: the run released what it had started.
  Var letter_a(L"a");
  EXPECT_EQ(object_->Text(L"IsCharacter", {letter_a.v}), "Wahr");
}

}  // namespace
}  // namespace lastora::testing
