// What the caller of the generation run sees: result texts, settings, row marks and which
// files appear.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "generation/generation_fixture.h"
#include "lastora/platform.h"
#include "support/field_texts.h"

namespace lastora::testing {
namespace {

using Names = std::vector<std::string>;
using S = SEPAVARIABLEN;

PaymentRow Debit(const std::string& sequence_type, Variant amount,
                 const std::string& payment_id = "E2E-1") {
  return PaymentRow{"Max Mustermann", "DE50512305000018102010",
                    "BYLADEM1001",    payment_id,
                    amount,           "\"Beitrag 2013\"",
                    "M001",           Variant::Date(MakeDate(2010, 3, 15)),
                    sequence_type,    "18102010",
                    "51230500",       ""};
}

class GenerationRun : public GenerationTest {};

TEST_F(GenerationRun, BadSettingsOrNoRowsStopBeforeAnythingIsWrittenOrReturned) {
  const std::string id_rule =
      "' ungültig: erlaubt sind bis zu 35 Zeichen aus A-Z a-z 0-9 + ? / - : ( ) . , ' und "
      "Leerzeichen";
  const std::tuple<Field, std::string, std::string> cases[] = {
      {&S::KreditorID__, "DE98ZZZ0999999999", "Gläubiger ID falsch"},
      {&S::KreditorNAME, "", "Kein Auftraggeber angegeben"},
      {&S::SepaADAT, "32.13.2013", "Fehler in Abbuchungsdatum: 32.13.2013"},
      {&S::SepaAART, "Lastschrift",
       "Unbekannte Auftragsart 'Lastschrift': erwartet Basislastschrift, Firmenlastschrift oder "
       "Überweisung"},
      {&S::KreditorIBAN, "DE88370400440532013000",
       "KreditorIBAN 'DE88370400440532013000' ungültig: SEPA-Checker: IBAN Prüfziffer ist falsch "
       "(88<>89)"},
      {&S::KreditorBIC_, "COBADEF", "KreditorBIC_ 'COBADEF' ist keine gültige BIC"},
      {&S::KreditorNAME, std::string(71, 'n'), "KreditorNAME länger als 70 Zeichen"},
      {&S::SepaFMI2, "MSG_2013", "SepaFMI2 'MSG_2013" + id_rule},
      {&S::KreditorID__, "DE97ZZZ09999999999",
       "Gläubiger ID falsch: Prüfziffer von KreditorID__ 'DE97ZZZ09999999999' stimmt nicht"},
  };
  for (const auto& [field, value, result] : cases) {
    in = DefaultSettings();
    in.ProgErzeFil1.Value = "alt.xml";
    (in.*field).Value = value;
    rows = {Debit("FRST", 10.0)};
    EXPECT_EQ(Run(), result);
    EXPECT_EQ(out.ProgErzeFil1.Value, "alt.xml");  // the caller's array as passed
    EXPECT_EQ(FileNames(), Names{});
  }
  // Sound settings, but nothing to pay.
  in = DefaultSettings();
  in.ProgErzeFil1.Value = "alt.xml";
  rows = {};
  EXPECT_EQ(Run(), "Es liegen keine Lastschriften oder Überweisungen vor!");
  EXPECT_EQ(out.ProgErzeFil1.Value, "alt.xml");
}

// Every row is collected once: final and one-off debits go into the first pass that runs, never
// into both files.
TEST_F(GenerationRun, RowsGoIntoThePassOfTheirSequenceType) {
  const auto sums = [this] {
    return Values(out, {&S::ProgErzeDAN1, &S::ProgErzeDSU1, &S::ProgErzeDAN2, &S::ProgErzeDSU2,
                        &S::ProgErzeDANZ, &S::ProgErzeDSUM});
  };
  rows = {Debit("FRST", 1.5, "A"), Debit("RCUR", 2.0, "B"), Debit("OOFF", 4.0, "C"),
          Debit("FNAL", 8.0, "D"), Debit("", 16.0, "E")};
  in.ProgErzeDAN1.Value = "7";
  ASSERT_EQ(Run(), "ok");
  // No two sets of these amounts have the same sum, so each sum names the rows of its pass: FRST,
  // OOFF and FNAL in the first, RCUR in the second, the row without a type in none.
  EXPECT_EQ(sums(), (Texts{"3", "13,5", "1", "2", "4", "15,5"}));
  EXPECT_EQ(File("SEPA_2013-10-01_RCUR.xml").find("<EndToEndId>C</EndToEndId>"), std::string::npos);

  // Without a first pass the second keeps them.
  in = DefaultSettings();
  in.SepaFPI1.Value = "-";
  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(sums(), (Texts{"0", "0", "3", "14", "3", "14"}));

  // A credit transfer has no sequence type and is paid once, in the first pass.
  in = DefaultSettings();
  in.SepaAART.Value = "Überweisung";
  rows = {Debit("", 30.0, "A")};
  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(sums(), (Texts{"1", "30", "0", "0", "1", "30"}));
}

// A row whose values the bank's schema refuses stays out of the file, marked as an error at the
// field it has to be fixed in; the rest of the collection is written and valid.
TEST_F(GenerationRun, RowsTheSchemaRefusesAreLeftOutAndMarked) {
  struct Case {
    void (*change)(PaymentRow&);
    int column;
    std::string message;
  };
  const Case cases[] = {
      {[](PaymentRow& r) { r.mandate_id = ""; }, 10, "Mandatsreferenz fehlt"},
      {[](PaymentRow& r) { r.mandate_date = Variant("bald"); }, 11, "Mandatsdatum ist kein Datum"},
      {[](PaymentRow& r) { r.payment_id = "E2E_1"; }, 7, "Payment-ID enthält unzulässige Zeichen"},
      {[](PaymentRow& r) { r.name = std::string(71, 'n'); }, 3, "Name länger als 70 Zeichen"},
      {[](PaymentRow& r) { r.bic = "BYLADEM"; }, 5, "BIC ungültig"},
      {[](PaymentRow& r) { r.iban = "DE5051230500001810201!"; }, 4, "IBAN ungültig"},
      {[](PaymentRow& r) { r.amount = 1e10; }, 8, "Betrag nicht zwischen 0,01 und 999999999,99"},
  };
  for (const Case& c : cases) {
    in = DefaultSettings();
    in.SepaFPI2.Value = "-";
    rows = {Debit("FRST", 5.0, "A"), Debit("FRST", 6.0, "B")};
    c.change(rows[1]);
    ASSERT_EQ(Run(), "ok") << c.message;
    EXPECT_EQ(CStr(payments(2, 26)), c.message + " - Zahlung nicht in die Datei übernommen");
    EXPECT_EQ(CStr(colours(2, c.column)), "3") << c.message;
    EXPECT_EQ(Values(out, {&S::ProgErzeFehl, &S::ProgErzeDAN1, &S::ProgErzeDSU1}),
              (Texts{"1", "1", "5"}))
        << c.message;
  }
  // A credit transfer needs no mandate; the identifier characters the schema allows all pass.
  in = DefaultSettings();
  in.SepaAART.Value = "Überweisung";
  rows = {Debit("", 5.0, "A+?/-:().,' z")};
  rows[0].mandate_id = "";
  rows[0].mandate_date = Variant("");
  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(out.ProgErzeDAN1.Value, "1");
}

TEST_F(GenerationRun, UnpayableAmountsAreMarkedAndRowsWithoutAccountDataLeftOut) {
  rows = {Debit("FRST", 0.0, "X1"),   Debit("FRST", 0.0, ""),    Debit("FRST", "zehn", "X3"),
          Debit("FRST", 0.004, "X4"), Debit("FRST", -5.0, "X5"), Debit("FRST", 7.0, "X6")};
  rows[0].warnings = "Adresse alt";
  in.ProgErzeWarn.Value = "3";
  in.SepaFPI2.Value = "-";
  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(ColumnTexts(payments, 27), (Texts{"Adresse alt, Betragsgrenze!", "", "Betragsgrenze!",
                                              "Betragsgrenze!", "Betragsgrenze!", ""}));
  EXPECT_EQ(ColumnTexts(colours, 8), (Texts{"6", "", "6", "6", "6", ""}));
  EXPECT_EQ(out.ProgErzeWarn.Value, "7");

  // Rows without account data are left out.
  rows = {Debit("FRST", 5.0, "A"), Debit("FRST", 6.0, "B"), Debit("FRST", 7.0, "C")};
  rows[0].iban = "  ";
  rows[1].bic = "";
  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(out.ProgErzeDAN1.Value, "1");
  // DTAUS needs no BIC but a German account.
  rows[2].iban = "AT611904300234573201";
  ASSERT_EQ(Run(/*dtaus=*/true), "ok");
  EXPECT_EQ(out.ProgErzeDAN1.Value, "1");
  EXPECT_EQ(out.ProgErzeDSU1.Value, "6");
}

// An empty SEPA document is one the bank would reject; an empty DTAUS file is a valid one.
TEST_F(GenerationRun, EmptyPassGivesNoSepaFileButADtausFileWithItsTrailer) {
  rows = {Debit("RCUR", 5.0)};
  ASSERT_EQ(Run(), "ok");
  EXPECT_EQ(FileNames(),
            (Names{"SEPA_2013-10-01_RCUR.xml", "SEPA_2013-10-01_RCUR_Begleitzettel.txt",
                   "SEPA_2013-10-01_RCUR_Liste.txt"}));
  EXPECT_EQ(Values(out, {&S::ProgErzeFil1, &S::ProgErzeDAN1, &S::ProgErzePAO1}),
            (Texts{"", "0", "ok"}));
  ASSERT_EQ(Run(/*dtaus=*/true), "ok");
  const std::string transfer = File("DTAUS_2013-10-01_FRST.txt");
  ASSERT_EQ(transfer.size(), 256u);
  EXPECT_EQ(transfer.substr(128, 17), "0128E     0000000");
}

TEST_F(GenerationRun, FileNamesFromSettingsAndDefaults) {
  in.SepaFIL1.Value = "C:\\Verein\\Ausgabe\\ZAHLUNG";
  rows = {Debit("FRST", 5.0), Debit("RCUR", 6.0)};
  ASSERT_EQ(Run(/*dtaus=*/true), "ok");
  EXPECT_EQ(FileNames(), (Names{"DTAUS_2013-10-01 (mit Umbruch).txt", "DTAUS_2013-10-01.txt",
                                "DTAUS_2013-10-01_Begleitzettel.txt", "DTAUS_2013-10-01_Liste.txt",
                                "ZAHLUNG (mit Umbruch).txt", "ZAHLUNG.txt",
                                "ZAHLUNG_Begleitzettel.txt", "ZAHLUNG_Liste.txt"}));
  EXPECT_EQ(out.SepaFIL1.Value, "ZAHLUNG.txt");
}

// A parser that rejects the FRST document only.
class RejectingFrstParser : public XmlParser {
 public:
  Result LoadFile(const std::string& path) override {
    if (path.find("FRST") == std::string::npos) return Result{};
    return Result{false, "Ungültiges Zeichen", 12};
  }
};

TEST_F(GenerationRun, AFailedCheckIsNotHiddenByALaterGoodFile) {
  const auto previous = SetXmlParser(std::make_shared<RejectingFrstParser>());
  rows = {Debit("FRST", 5.0), Debit("RCUR", 6.0)};
  const std::string result = Run();
  SetXmlParser(previous);
  EXPECT_EQ(result, "XML-Parser-Fehler: Ungültiges Zeichen (Zeile 12)");
  EXPECT_EQ(Values(out, {&S::ProgErzePAO1, &S::ProgErzePAO2, &S::ProgErzePAOK}),
            (Texts{result, "ok", result}));
}

// Enough payments that every file (DTAUS's too) leaves in many pieces; umlauts and "&" vary the
// rows' byte lengths, so no piece ends at the same place in a row.
class LargeCollection : public GenerationRun {
 protected:
  static constexpr int kCount = 3000;

  void SetUp() override {
    for (int n = 1; n <= kCount; ++n) {
      const std::string number = std::to_string(n);
      rows.push_back(Debit("FRST", 10.0 + n % 7, "E2E-" + number));
      rows.back().name = (n % 3 == 0 ? "Jörg Müller & Söhne " : "Max Mustermann ") + number;
      rows.back().remittance = "\"Beitrag 2013\"";
      for (int line = 0; line < n % 5; ++line)
        rows.back().remittance += ",\"Zeile " + number + "\"";
    }
  }

  static int Count(const std::string& text, const std::string& word) {
    int count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
      ++count;
    }
    return count;
  }
};

TEST_F(LargeCollection, SepaDocumentHoldsEveryPaymentInOrder) {
  ASSERT_EQ(Run(), "ok");
  const std::string xml = File("SEPA_2013-10-01_FRST.xml");
  EXPECT_EQ(Count(xml, "<DrctDbtTxInf>"), kCount);
  size_t at = 0;
  for (int n = 1; n <= kCount; ++n) {
    at = xml.find("<EndToEndId>E2E-" + std::to_string(n) + "</EndToEndId>", at);
    ASSERT_NE(at, std::string::npos) << n;
  }
  const std::string list = File("SEPA_2013-10-01_FRST_Liste.txt");
  EXPECT_EQ(Count(list, "\r\n"), 5 + kCount + 2);  // heading, rows, total and the empty end
}

// A record that cannot be written stops the run before any file is replaced; the length check
// hands the caller's settings back as passed, a failure hands back those the run had emptied.
TEST_F(GenerationRun, DtausRecordOrFolderThatCannotBeWrittenStopsTheRun) {
  for (const auto& [account, result_start, file_name_after] :
       {std::tuple{"12345678901", "DTAUS: Datensatzlänge falsch für Datensatz 2 : '", "alt.txt"},
        std::tuple{"12AB", "Fehler: Typen unverträglich (13)", ""}}) {
    rows = {Debit("FRST", 5.0), Debit("FRST", 6.0)};
    rows[1].account = account;
    in.ProgErzeFil1.Value = "alt.txt";
    const std::string result = Run(/*dtaus=*/true);
    EXPECT_TRUE(result.starts_with(result_start)) << result;
    EXPECT_EQ(out.ProgErzeFil1.Value, file_name_after);
    EXPECT_EQ(FileNames(), Names{});
  }
  // Any runtime failure takes the failure form, as a SEPA run into a missing folder.
  rows = {Debit("FRST", 5.0)};
  folder = Folder() + "fehlt/";
  EXPECT_EQ(Run(), "Fehler: Pfad nicht gefunden (76)");
  EXPECT_EQ(out.ProgErzeFil1.Value, "");  // emptied by the run and handed back
}

}  // namespace
}  // namespace lastora::testing
