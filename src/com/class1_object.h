// The automation object around one Class1: the interface a workbook calls late-bound. Dispatch
// goes through the type library, so member ids exist only in the interface definition.
#ifndef LASTORA_COM_CLASS1_OBJECT_H_
#define LASTORA_COM_CLASS1_OBJECT_H_

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "lastora/class1.h"
#include "lastora_h.h"
#include "property_values.h"

namespace lastora::com {

class Class1Object final : public _Class1 {
 public:
  Class1Object();
  Class1Object(const Class1Object&) = delete;
  Class1Object& operator=(const Class1Object&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch, answered by the type information.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                             DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* exception, UINT* bad_argument) override;

  // The fields, in interface order.
  STDMETHODIMP get_strPathProgram(BSTR* value) override {
    return Read(component_.strPathProgram, value);
  }
  STDMETHODIMP put_strPathProgram(BSTR value) override {
    return Write(component_.strPathProgram, value);
  }
  STDMETHODIMP get_strBlattAufruf(BSTR* value) override {
    return Read(component_.strBlattAufruf, value);
  }
  STDMETHODIMP put_strBlattAufruf(BSTR value) override {
    return Write(component_.strBlattAufruf, value);
  }
  STDMETHODIMP get_rowBlattAufruf(long* value) override {
    return Read(component_.rowBlattAufruf, value);
  }
  STDMETHODIMP put_rowBlattAufruf(long value) override {
    return Write(component_.rowBlattAufruf, value);
  }
  STDMETHODIMP get_colBlattAufruf(short* value) override {
    return Read(component_.colBlattAufruf, value);
  }
  STDMETHODIMP put_colBlattAufruf(short value) override {
    return Write(component_.colBlattAufruf, value);
  }
  STDMETHODIMP get_boolAllSteps(VARIANT_BOOL* value) override {
    return Read(component_.boolAllSteps, value);
  }
  STDMETHODIMP put_boolAllSteps(VARIANT_BOOL value) override {
    return Write(component_.boolAllSteps, value);
  }
  STDMETHODIMP get_lngZZ_FEHL(long* value) override { return Read(component_.lngZZ_FEHL, value); }
  STDMETHODIMP put_lngZZ_FEHL(long value) override { return Write(component_.lngZZ_FEHL, value); }
  STDMETHODIMP get_lngZZ_WARN(long* value) override { return Read(component_.lngZZ_WARN, value); }
  STDMETHODIMP put_lngZZ_WARN(long value) override { return Write(component_.lngZZ_WARN, value); }
  STDMETHODIMP get_lngZZ_ZEIC(long* value) override { return Read(component_.lngZZ_ZEIC, value); }
  STDMETHODIMP put_lngZZ_ZEIC(long value) override { return Write(component_.lngZZ_ZEIC, value); }
  STDMETHODIMP get_lngZZ_UMLA(long* value) override { return Read(component_.lngZZ_UMLA, value); }
  STDMETHODIMP put_lngZZ_UMLA(long value) override { return Write(component_.lngZZ_UMLA, value); }
  STDMETHODIMP get_strZellWert(BSTR* value) override { return Read(component_.strZellWert, value); }
  STDMETHODIMP put_strZellWert(BSTR value) override { return Write(component_.strZellWert, value); }
  STDMETHODIMP get_dat0(VARIANT* value) override { return Read(component_.dat0, value); }
  STDMETHODIMP put_dat0(VARIANT value) override { return Write(component_.dat0, value); }
  STDMETHODIMP putref_dat0(VARIANT value) override { return Write(component_.dat0, value); }
  STDMETHODIMP get_dat1(VARIANT* value) override { return Read(component_.dat1, value); }
  STDMETHODIMP put_dat1(VARIANT value) override { return Write(component_.dat1, value); }
  STDMETHODIMP putref_dat1(VARIANT value) override { return Write(component_.dat1, value); }
  STDMETHODIMP get_dat2(VARIANT* value) override { return Read(component_.dat2, value); }
  STDMETHODIMP put_dat2(VARIANT value) override { return Write(component_.dat2, value); }
  STDMETHODIMP putref_dat2(VARIANT value) override { return Write(component_.dat2, value); }
  STDMETHODIMP get_datZeitFirst(DATE* value) override {
    return Read(component_.datZeitFirst, value);
  }
  STDMETHODIMP put_datZeitFirst(DATE value) override {
    return Write(component_.datZeitFirst, value);
  }
  STDMETHODIMP get_datZeitLast(DATE* value) override { return Read(component_.datZeitLast, value); }
  STDMETHODIMP put_datZeitLast(DATE value) override { return Write(component_.datZeitLast, value); }
  STDMETHODIMP get_datEintritt(DATE* value) override { return Read(component_.datEintritt, value); }
  STDMETHODIMP put_datEintritt(DATE value) override { return Write(component_.datEintritt, value); }
  STDMETHODIMP get_datAustritt(DATE* value) override { return Read(component_.datAustritt, value); }
  STDMETHODIMP put_datAustritt(DATE value) override { return Write(component_.datAustritt, value); }
  STDMETHODIMP get_intAnzMonate(short* value) override {
    return Read(component_.intAnzMonate, value);
  }
  STDMETHODIMP put_intAnzMonate(short value) override {
    return Write(component_.intAnzMonate, value);
  }
  STDMETHODIMP get_aCount(VARIANT* value) override { return Read(component_.aCount, value); }
  STDMETHODIMP put_aCount(VARIANT value) override { return Write(component_.aCount, value); }
  STDMETHODIMP putref_aCount(VARIANT value) override { return Write(component_.aCount, value); }
  STDMETHODIMP get_strBlattAkt(BSTR* value) override { return Read(component_.strBlattAkt, value); }
  STDMETHODIMP put_strBlattAkt(BSTR value) override { return Write(component_.strBlattAkt, value); }
  STDMETHODIMP get_boolIBAN(VARIANT_BOOL* value) override {
    return Read(component_.boolIBAN, value);
  }
  STDMETHODIMP put_boolIBAN(VARIANT_BOOL value) override {
    return Write(component_.boolIBAN, value);
  }
  STDMETHODIMP get_boolBIC_(VARIANT_BOOL* value) override {
    return Read(component_.boolBIC_, value);
  }
  STDMETHODIMP put_boolBIC_(VARIANT_BOOL value) override {
    return Write(component_.boolBIC_, value);
  }
  STDMETHODIMP get_boolKONT(VARIANT_BOOL* value) override {
    return Read(component_.boolKONT, value);
  }
  STDMETHODIMP put_boolKONT(VARIANT_BOOL value) override {
    return Write(component_.boolKONT, value);
  }
  STDMETHODIMP get_boolBLZ_(VARIANT_BOOL* value) override {
    return Read(component_.boolBLZ_, value);
  }
  STDMETHODIMP put_boolBLZ_(VARIANT_BOOL value) override {
    return Write(component_.boolBLZ_, value);
  }
  STDMETHODIMP get_boolLAND(VARIANT_BOOL* value) override {
    return Read(component_.boolLAND, value);
  }
  STDMETHODIMP put_boolLAND(VARIANT_BOOL value) override {
    return Write(component_.boolLAND, value);
  }
  STDMETHODIMP get_lngAktZeile(long* value) override { return Read(component_.lngAktZeile, value); }
  STDMETHODIMP put_lngAktZeile(long value) override { return Write(component_.lngAktZeile, value); }
  STDMETHODIMP get_lngAnz(long* value) override { return Read(component_.lngAnz, value); }
  STDMETHODIMP put_lngAnz(long value) override { return Write(component_.lngAnz, value); }
  STDMETHODIMP get_boolNameFound(VARIANT_BOOL* value) override {
    return Read(component_.boolNameFound, value);
  }
  STDMETHODIMP put_boolNameFound(VARIANT_BOOL value) override {
    return Write(component_.boolNameFound, value);
  }
  STDMETHODIMP get_strBLZPath(BSTR* value) override { return Read(component_.strBLZPath, value); }
  STDMETHODIMP put_strBLZPath(BSTR value) override { return Write(component_.strBLZPath, value); }
  STDMETHODIMP get_strKontoVor(BSTR* value) override { return Read(component_.strKontoVor, value); }
  STDMETHODIMP put_strKontoVor(BSTR value) override { return Write(component_.strKontoVor, value); }
  STDMETHODIMP get_strKontoAkt(BSTR* value) override { return Read(component_.strKontoAkt, value); }
  STDMETHODIMP put_strKontoAkt(BSTR value) override { return Write(component_.strKontoAkt, value); }
  STDMETHODIMP get_dblBetrag(double* value) override { return Read(component_.dblBetrag, value); }
  STDMETHODIMP put_dblBetrag(double value) override { return Write(component_.dblBetrag, value); }
  STDMETHODIMP get_dblBetragSum(double* value) override {
    return Read(component_.dblBetragSum, value);
  }
  STDMETHODIMP put_dblBetragSum(double value) override {
    return Write(component_.dblBetragSum, value);
  }
  STDMETHODIMP get_boolVerw2(VARIANT_BOOL* value) override {
    return Read(component_.boolVerw2, value);
  }
  STDMETHODIMP put_boolVerw2(VARIANT_BOOL value) override {
    return Write(component_.boolVerw2, value);
  }
  STDMETHODIMP get_strMandID(BSTR* value) override { return Read(component_.strMandID, value); }
  STDMETHODIMP put_strMandID(BSTR value) override { return Write(component_.strMandID, value); }
  STDMETHODIMP get_strImportTyp(BSTR* value) override {
    return Read(component_.strImportTyp, value);
  }
  STDMETHODIMP put_strImportTyp(BSTR value) override {
    return Write(component_.strImportTyp, value);
  }
  STDMETHODIMP get_strSheetOld(BSTR* value) override { return Read(component_.strSheetOld, value); }
  STDMETHODIMP put_strSheetOld(BSTR value) override { return Write(component_.strSheetOld, value); }
  STDMETHODIMP get_strLfdNr(BSTR* value) override { return Read(component_.strLfdNr, value); }
  STDMETHODIMP put_strLfdNr(BSTR value) override { return Write(component_.strLfdNr, value); }
  STDMETHODIMP get_strMID(BSTR* value) override { return Read(component_.strMID, value); }
  STDMETHODIMP put_strMID(BSTR value) override { return Write(component_.strMID, value); }
  STDMETHODIMP get_strPID(BSTR* value) override { return Read(component_.strPID, value); }
  STDMETHODIMP put_strPID(BSTR value) override { return Write(component_.strPID, value); }
  STDMETHODIMP get_strBetrag(BSTR* value) override { return Read(component_.strBetrag, value); }
  STDMETHODIMP put_strBetrag(BSTR value) override { return Write(component_.strBetrag, value); }
  STDMETHODIMP get_boolWarnung(VARIANT_BOOL* value) override {
    return Read(component_.boolWarnung, value);
  }
  STDMETHODIMP put_boolWarnung(VARIANT_BOOL value) override {
    return Write(component_.boolWarnung, value);
  }
  STDMETHODIMP get_datMID(DATE* value) override { return Read(component_.datMID, value); }
  STDMETHODIMP put_datMID(DATE value) override { return Write(component_.datMID, value); }
  STDMETHODIMP get_strName(BSTR* value) override { return Read(component_.strName, value); }
  STDMETHODIMP put_strName(BSTR value) override { return Write(component_.strName, value); }

  // The methods, in interface order.
  STDMETHODIMP CountStringInText(BSTR strDateiinhalt, BSTR strSearch, LONG* result) override;
  STDMETHODIMP GetColumnsFromExcelFile(BSTR strFile, VARIANT* aZiel, BSTR strSheet,
                                       LONG lngFirstRow, SHORT SortColumn, BSTR SortDirection,
                                       VARIANT intDateWarnung, BSTR* result) override;
  STDMETHODIMP TestGC() override;
  STDMETHODIMP getPruefziffer(BSTR strIBAN, BSTR* result) override;
  STDMETHODIMP ext_SEPA_Bearbeitung(VARIANT* aVariablen, VARIANT* aZielValues, VARIANT* aZielColors,
                                    BSTR* result) override;
  STDMETHODIMP ext_SEPA_Erzeugung(VARIANT* aVariablen, VARIANT* aImport, VARIANT* aColour,
                                  BSTR strPathDTA_, VARIANT_BOOL boolDTAUS, BSTR* result) override;
  STDMETHODIMP ext_SEPA_Checker(VARIANT* aVariablen, VARIANT* aZielValues, VARIANT* aZielColors,
                                VARIANT* aBLZintern, VARIANT* aBLZnew, BSTR strDTAFile1,
                                BSTR strDTAFile2, BSTR* result) override;
  STDMETHODIMP SEPA_Check_XMLStruktur(BSTR strDTAFile, BSTR* result) override;
  STDMETHODIMP ext_DTAUS_Checker(VARIANT* aVariablen, VARIANT* aZielValues, VARIANT* aZielColors,
                                 VARIANT* aBLZintern, VARIANT* aBLZnew, BSTR strDTAFile,
                                 VARIANT_BOOL boolExtern, BSTR* result) override;
  STDMETHODIMP ext_CreateSerienbrief(LONG lngSerienbriefID, VARIANT aWerteQuelleX,
                                     VARIANT aWerteHeader, VARIANT aZiel, SHORT intBlatt,
                                     LONG lngActiveRow, BSTR strIBAN, LONG lngPicX, LONG lngPicY,
                                     VARIANT_BOOL boolNoPrint, VARIANT_BOOL boolEmptyPrint,
                                     BSTR* result) override;
  STDMETHODIMP IsCharacter(BSTR strText, VARIANT_BOOL boolUCase, VARIANT_BOOL* result) override;
  STDMETHODIMP Get_IBAN(BSTR strIBAN, VARIANT* strLandKurz, VARIANT* strBLZ_, VARIANT* strKONT,
                        BSTR* result) override;
  STDMETHODIMP Check_BIC(SHORT intBLZSearchColumn, SHORT intDatSearchColumn,
                         SHORT intBLZFoundColumn, SHORT intDatTargetColumn, BSTR strSearchSource,
                         ::SEPAVARIABLEN* sAct, VARIANT* aZielValues, VARIANT* aZielColors,
                         VARIANT* aBLZintern, VARIANT* aBLZnew, VARIANT* strOneIBAN,
                         VARIANT* strOneBIC, VARIANT* strOneBLZ, VARIANT* strOneBank,
                         BSTR* result) override;
  STDMETHODIMP RubLeadingZero(BSTR strText, BSTR* result) override;
  STDMETHODIMP Check_BLZ_File(VARIANT* aExternBLZ, VARIANT_BOOL* result) override;

 private:
  ~Class1Object();

  std::atomic<ULONG> references_{1};
  Class1 component_;
  // The tables the last run converted the caller's sheets into, kept for the next run.
  std::vector<Table> spare_tables_;
};

}  // namespace lastora::com

#endif  // LASTORA_COM_CLASS1_OBJECT_H_
