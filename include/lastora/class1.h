// Class1: the component's one public class. The calling workbook (or the command-line program, or
// the COM server) creates one object and calls one method per user action.
#ifndef LASTORA_CLASS1_H_
#define LASTORA_CLASS1_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "lastora/export.h"
#include "lastora/settings.h"
#include "lastora/table.h"
#include "lastora/variant.h"

namespace lastora {
LASTORA_PUBLIC_BEGIN

class Class1 {
 public:
  Class1() = default;
  Class1(const Class1&) = delete;
  Class1& operator=(const Class1&) = delete;

  // --- Public fields, in interface order. The component uses only a few as working storage;
  // the rest are the caller's.
  std::string strPathProgram;
  std::string strBlattAufruf;
  int32_t rowBlattAufruf = 0;
  int16_t colBlattAufruf = 0;
  bool boolAllSteps = false;
  int32_t lngZZ_FEHL = 0;
  int32_t lngZZ_WARN = 0;
  int32_t lngZZ_ZEIC = 0;
  int32_t lngZZ_UMLA = 0;
  std::string strZellWert;
  Variant dat0;
  Variant dat1;
  Variant dat2;
  double datZeitFirst = 0;
  double datZeitLast = 0;
  double datEintritt = 0;
  double datAustritt = 0;
  int16_t intAnzMonate = 0;
  Variant aCount;
  std::string strBlattAkt;
  bool boolIBAN = false;
  bool boolBIC_ = false;
  bool boolKONT = false;
  bool boolBLZ_ = false;
  bool boolLAND = false;
  int32_t lngAktZeile = 0;
  int32_t lngAnz = 0;
  bool boolNameFound = false;
  std::string strBLZPath;
  std::string strKontoVor;
  std::string strKontoAkt;
  double dblBetrag = 0;
  double dblBetragSum = 0;
  bool boolVerw2 = false;
  std::string strMandID;
  std::string strImportTyp;
  std::string strSheetOld;
  std::string strLfdNr;
  std::string strMID;
  std::string strPID;
  std::string strBetrag;
  bool boolWarnung = false;
  double datMID = 0;
  std::string strName;

  // --- Methods, in interface order.
  int32_t CountStringInText(const std::string& strDateiinhalt, const std::string& strSearch);
  std::string GetColumnsFromExcelFile(const std::string& strFile, Table& aZiel,
                                      const std::string& strSheet = "", int32_t lngFirstRow = 0,
                                      int16_t SortColumn = 0, const std::string& SortDirection = "",
                                      const Variant& intDateWarnung = Variant::Missing());
  void TestGC();
  std::string getPruefziffer(const std::string& strIBAN);
  std::string ext_SEPA_Bearbeitung(VariantArray& aVariablen, Table& aZielValues,
                                   Table& aZielColors);
  std::string ext_SEPA_Erzeugung(VariantArray& aVariablen, Table& aImport, Table& aColour,
                                 const std::string& strPathDTA_, bool boolDTAUS = false);
  std::string ext_SEPA_Checker(VariantArray& aVariablen, Table& aZielValues, Table& aZielColors,
                               Table& aBLZintern, Table& aBLZnew, const std::string& strDTAFile1,
                               const std::string& strDTAFile2);
  std::string SEPA_Check_XMLStruktur(const std::string& strDTAFile);
  std::string ext_DTAUS_Checker(VariantArray& aVariablen, Table& aZielValues, Table& aZielColors,
                                Table& aBLZintern, Table& aBLZnew, const std::string& strDTAFile,
                                bool boolExtern);
  std::string ext_CreateSerienbrief(int32_t lngSerienbriefID, const Table& aWerteQuelleX,
                                    const Table& aWerteHeader, Table& aZiel, int16_t intBlatt,
                                    int32_t lngActiveRow, const std::string& strIBAN,
                                    int32_t lngPicX, int32_t lngPicY, bool boolNoPrint,
                                    bool boolEmptyPrint);
  bool IsCharacter(const std::string& strText, bool boolUCase = false);
  // Without the optional by-reference arguments, the method works on local copies.
  std::string Get_IBAN(const std::string& strIBAN);
  std::string Get_IBAN(const std::string& strIBAN, std::string& strLandKurz, std::string& strBLZ_,
                       std::string& strKONT);
  std::string Check_BIC(int16_t intBLZSearchColumn, int16_t intDatSearchColumn,
                        int16_t intBLZFoundColumn, int16_t intDatTargetColumn,
                        const std::string& strSearchSource, SEPAVARIABLEN& sAct, Table& aZielValues,
                        Table& aZielColors, Table& aBLZintern, Table& aBLZnew);
  std::string Check_BIC(int16_t intBLZSearchColumn, int16_t intDatSearchColumn,
                        int16_t intBLZFoundColumn, int16_t intDatTargetColumn,
                        const std::string& strSearchSource, SEPAVARIABLEN& sAct, Table& aZielValues,
                        Table& aZielColors, Table& aBLZintern, Table& aBLZnew,
                        std::string& strOneIBAN, std::string& strOneBIC, std::string& strOneBLZ,
                        std::string& strOneBank);
  std::string RubLeadingZero(const std::string& strText);
  bool Check_BLZ_File(Table& aExternBLZ);

  // The object's own settings record (generation run, DTAUS checker, bank-code file name).
  SEPAVARIABLEN& settings() { return settings_; }
  const SEPAVARIABLEN& settings() const { return settings_; }
  // The bank codes that Check_BIC has already passed on.
  std::vector<std::string>& passed_on_bank_codes() { return passed_on_bank_codes_; }
  // The mandate references of the last processing run: entry n belongs to its n-th paying row.
  std::vector<std::string>& mandate_references() { return mandate_references_; }
  // The payment-table rows the last generation run wrote into its first and its second file;
  // empty for a file it did not write.
  std::array<std::vector<int32_t>, 2>& written_rows() { return written_rows_; }
  const std::array<std::vector<int32_t>, 2>& written_rows() const { return written_rows_; }

 private:
  SEPAVARIABLEN settings_;
  std::vector<std::string> passed_on_bank_codes_;
  std::vector<std::string> mandate_references_;  // kept from one processing run to the next
  std::array<std::vector<int32_t>, 2> written_rows_;
};

LASTORA_PUBLIC_END
}  // namespace lastora

#endif  // LASTORA_CLASS1_H_
