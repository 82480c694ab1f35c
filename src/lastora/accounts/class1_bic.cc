// Class1's bank-code table and BIC lookup.
#include <map>
#include <memory>
#include <string>
#include <unordered_set>

#include "accounts/bank_code_index.h"
#include "component/catalogue.h"
#include "component/helpers.h"
#include "component/message_ids.h"
#include "component/run_frame.h"
#include "core/text.h"
#include "lastora/class1.h"
#include "lastora/payment_table.h"
#include "lastora/vb_error.h"

namespace lastora {
namespace {

// Columns of the bank-code table that the lookup relies on.
constexpr int32_t kTableBankCode = 1;
constexpr int32_t kTableName = 6;
constexpr int32_t kTableBic = 8;

// The Bundesbank's 13 columns: the shape of the empty stand-in when the file cannot be loaded.
constexpr int32_t kBankCodeColumns = 13;

bool HasText(const Variant& cell) { return !CStr(cell).empty(); }

// One Check_BIC call: the source table, its indexes by column, and the rows it writes.
class BicLookup {
 public:
  BicLookup(Class1& owner, const Table& table, Table& values, Table& colours)
      : owner_(owner), table_(table), values_(values), colours_(colours) {}

  int32_t FirstRow(int32_t column, const std::string& bank_code) {
    std::unique_ptr<detail::BankCodeIndex>& index = indexes_[column];
    if (!index) index = std::make_unique<detail::BankCodeIndex>(table_, column);
    return index->FirstRow(bank_code);
  }

  // Rows j and j + 1 of one bank, the second with a BIC of its own.
  bool NextRowIsAnotherBic(int32_t row) const {
    return row < table_.RowUpper() &&
           Compare(table_(row + 1, kTableBankCode), table_(row, kTableBankCode)) == 0 &&
           HasText(table_(row + 1, kTableBic));
  }

  void WriteFound(int32_t i, int16_t target_column, int16_t found_column, int32_t row) {
    values_(i, target_column) = table_(row, found_column);
    values_(i, payment_table::kBankCode) = table_(row, kTableBankCode);
    values_(i, payment_table::kBic) = table_(row, kTableBic);
    values_(i, payment_table::kBankName) = table_(row, kTableName);
  }

  // Marks the row once, however often the warning is given for it.
  void WarnSeveralBics(int32_t i) {
    colours_(i, payment_table::kBic) = Variant(payment_table::kWarningColour);
    const std::string& warning = Message(msg::kSeveralBics);
    const std::string present = CStr(values_(i, payment_table::kWarnings));
    if (present.empty()) {
      values_(i, payment_table::kWarnings) = Variant(warning);
    } else if (present.find(warning) != std::string::npos) {
      return;
    } else {
      values_(i, payment_table::kWarnings) = Variant(present + "; " + warning);
    }
    ++owner_.lngZZ_WARN;
  }

  void MarkNotFound(int32_t i, int16_t search_column, int16_t target_column) {
    colours_(i, search_column) = Variant(payment_table::kErrorColour);
    colours_(i, target_column) = Variant(payment_table::kErrorColour);
    const std::string present = CStr(values_(i, payment_table::kErrors));
    values_(i, payment_table::kErrors) = Variant(
        present.empty() ? Message(msg::kBicNotFound) : present + ", " + Message(msg::kBicNotFound));
    ++owner_.lngZZ_FEHL;
  }

  // Copies the bank's rows with a BIC, from `row` on, into the next free rows of `collected`;
  // every row after the first is a further possible BIC for result row i.
  void PassOn(int32_t i, int32_t row, Table& collected, int32_t& next_free) {
    for (int32_t k = row; k <= table_.RowUpper(); ++k) {
      if (Compare(table_(k, kTableBankCode), table_(row, kTableBankCode)) != 0 ||
          !HasText(table_(k, kTableBic))) {
        break;
      }
      // More rows than the caller's table holds would be lost: it grows instead.
      if (next_free > collected.RowUpper())
        collected.ResizeRows(next_free - collected.RowLower() + 1);
      for (int32_t c = table_.ColLower(); c <= table_.ColUpper(); ++c) {
        collected(next_free, c) = table_(k, c);
      }
      ++next_free;
      if (k > row) WarnSeveralBics(i);
    }
  }

 private:
  Class1& owner_;
  const Table& table_;
  Table& values_;
  Table& colours_;
  std::map<int32_t, std::unique_ptr<detail::BankCodeIndex>> indexes_;
};

}  // namespace

bool Class1::Check_BLZ_File(Table& aExternBLZ) {
  bool loaded = false;
  int32_t number = 0;
  std::string description;
  TrapFailure(
      [&] {
        const std::string path = ResolveAppRelative(settings_.ProgBLZ_File.Value);
        if (!CheckPathAndFile(path, "11110",
                              Message(msg::kBankCodeFileMissing) + "\r\n\r\n" + path))
          return;
        loaded = GetColumnsFromExcelFile(path, aExternBLZ, "", 2, 8, "Asc",
                                         Variant(int16_t{183})) == "ok";
      },
      &number, &description);
  return loaded;
}

std::string Class1::Check_BIC(int16_t intBLZSearchColumn, int16_t intDatSearchColumn,
                              int16_t intBLZFoundColumn, int16_t intDatTargetColumn,
                              const std::string& strSearchSource, SEPAVARIABLEN& sAct,
                              Table& aZielValues, Table& aZielColors, Table& aBLZintern,
                              Table& aBLZnew) {
  std::string none_iban, none_bic, none_bank_code, none_bank;
  return Check_BIC(intBLZSearchColumn, intDatSearchColumn, intBLZFoundColumn, intDatTargetColumn,
                   strSearchSource, sAct, aZielValues, aZielColors, aBLZintern, aBLZnew, none_iban,
                   none_bic, none_bank_code, none_bank);
}

std::string Class1::Check_BIC(int16_t intBLZSearchColumn, int16_t intDatSearchColumn,
                              int16_t intBLZFoundColumn, int16_t intDatTargetColumn,
                              const std::string& strSearchSource, SEPAVARIABLEN& sAct,
                              Table& aZielValues, Table& aZielColors, Table& aBLZintern,
                              Table& aBLZnew, std::string& strOneIBAN, std::string& strOneBIC,
                              std::string& strOneBLZ, std::string& strOneBank) {
  std::string result = "ok";
  int32_t number = 0;
  std::string description;
  const bool completed = TrapFailure(
      [&] {
        const bool external = strSearchSource != "intern";
        // A file that cannot be loaded leaves one empty row to search: every code is missing.
        Table loaded(1, kBankCodeColumns);
        if (external) {
          Check_BLZ_File(loaded);
          aBLZnew = Table(aZielValues.RowCount(), loaded.ColCount());
        } else if (aBLZintern.RowCount() == 0) {
          result = Message(msg::kNoData);
          return;
        }
        const Table& table = external ? loaded : aBLZintern;
        BicLookup lookup(*this, table, aZielValues, aZielColors);

        if (!strOneIBAN.empty()) {
          strOneBLZ = text::Mid(strOneIBAN, 5, 8);
          const int32_t row = lookup.FirstRow(kTableBankCode, strOneBLZ);
          if (row == 0) {
            result = Message(msg::kBankCodeInvalid);
            return;
          }
          strOneBIC = CStr(table(row, kTableBic));
          strOneBank = CStr(table(row, kTableName));
          return;
        }

        const bool pass_on =
            external && sAct.ProgBLZ_Inte.Value.find(Message(msg::kYes)) != std::string::npos;
        int32_t next_free = aBLZnew.RowLower();
        std::unordered_set<std::string> passed_on(passed_on_bank_codes_.begin(),
                                                  passed_on_bank_codes_.end());
        std::string previous_code;
        int32_t previous_row = 0;
        bool previous_several = false;
        for (int32_t i = aZielValues.RowLower(); i <= aZielValues.RowUpper(); ++i) {
          if (!aZielValues(i, intDatTargetColumn).IsEmpty()) continue;
          if (!CStr(aZielValues(i, payment_table::kCountry)).starts_with("DE")) continue;
          const std::string code = text::Trim(CStr(aZielValues(i, intDatSearchColumn)));
          if (code.empty()) continue;

          if (previous_row != 0 && code == previous_code) {
            lookup.WriteFound(i, intDatTargetColumn, intBLZFoundColumn, previous_row);
            // The repeated row is just as ambiguous as the one before it.
            if (previous_several) lookup.WarnSeveralBics(i);
            continue;
          }
          const int32_t row = lookup.FirstRow(intBLZSearchColumn, code);
          if (row == 0) {
            result = "Not found";
            if (external) lookup.MarkNotFound(i, intDatSearchColumn, intDatTargetColumn);
            continue;
          }
          previous_code = code;
          previous_row = row;
          lookup.WriteFound(i, intDatTargetColumn, intBLZFoundColumn, row);
          previous_several = lookup.NextRowIsAnotherBic(row);
          if (previous_several) lookup.WarnSeveralBics(i);
          if (pass_on && passed_on.insert(code).second) {
            passed_on_bank_codes_.push_back(code);
            lookup.PassOn(i, row, aBLZnew, next_free);
          }
        }
      },
      &number, &description);
  if (!completed) result = FailureText(number, description);
  return result;
}

}  // namespace lastora
