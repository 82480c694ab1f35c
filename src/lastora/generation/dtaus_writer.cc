#include "generation/dtaus_writer.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "component/catalogue.h"
#include "component/message_ids.h"
#include "core/text.h"
#include "formats/dtaus_record_layout.h"
#include "generation/fixed_width.h"
#include "generation/generation_stop.h"
#include "lastora/vb_error.h"

namespace lastora::generation {
namespace {

using dtaus::Field;
using dtaus::Fill;

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kRecordLength128 = "0128";
constexpr std::string_view kEuro = "1";

// Appends the fields in table order and returns how many characters they took. Texts are cut to
// their width; numbers never are, so a number that does not fit lengthens the record and the
// length check catches it instead of a bank receiving a wrong amount or account.
size_t AppendFields(std::string& out, std::span<const Field> fields,
                    std::span<const std::string_view> values) {
  size_t chars = 0;
  for (size_t i = 0; i < fields.size(); ++i) {
    const Field& field = fields[i];
    if (field.fill == Fill::kBlanksRight) {
      text::AppendPadRight(out, values[i], field.width);
      chars += field.width;
    } else {
      AppendZeroFilled(out, values[i], field.width);
      chars += std::max(field.width, text::Length(values[i]));
    }
  }
  return chars;
}

// The platform turns a non-numeric text into a type mismatch when it sums it; so do we.
int64_t DigitsValue(std::string_view digits) {
  if (digits.empty() || digits.size() > 18) throw VbError(13);
  int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') throw VbError(13);
    value = value * 10 + (c - '0');
  }
  return value;
}

// Extension count for n purpose lines: the first line sits in the constant part, the others in
// extensions, always filling whole pairs or groups of four.
int ExtensionsFor(size_t lines) {
  if (lines <= 1) return 0;
  if (lines <= 3) return 2;
  return 2 + 4 * static_cast<int>((lines - 4) / 4 + 1);
}

void AppendExtensions(std::string& out, const std::vector<std::string>& lines, int extensions) {
  size_t expected_end = dtaus::kCRecordConstantLength;
  for (int k = 1; k <= extensions; ++k) {
    const size_t start = dtaus::ExtensionPosition(k) - 1;
    out.append(start - expected_end, ' ');
    out.append(dtaus::kExtensionPurpose);
    if (static_cast<size_t>(k) < lines.size()) {
      text::AppendPadRight(out, lines[k], dtaus::kExtensionTextWidth);
    } else {
      out.append(dtaus::kExtensionTextWidth, ' ');
    }
    expected_end = start + dtaus::kExtensionLength;
  }
  out.append(dtaus::CRecordFileLength(extensions) - expected_end, ' ');
}

std::string LengthFailure(int64_t number, std::string_view record_text) {
  return Message(msg::kDtausRecordLength) + " " + std::to_string(number) + " : '" +
         std::string(record_text) + "'";
}

// A record is 128 characters, or 256 with up to three purpose lines.
constexpr size_t kRecordSizeHint = 256;

}  // namespace

DtausWriter::DtausWriter(const SepaKind& kind, const DtausOrderingParty& party,
                         size_t expected_payments)
    : kind_(kind), party_(party), party_name_upper_(UpperCase(party.name)) {
  records_.reserve(expected_payments * kRecordSizeHint);
  record_.reserve(dtaus::CRecordFileLength(dtaus::kMaxExtensions));
  record_ends_.reserve(expected_payments);
}

std::string DtausWriter::Append(const DtausPayment& payment) {
  const int64_t number = count_ + 1;
  const int extensions = ExtensionsFor(payment.purpose_lines.size());
  const std::string length_value =
      RightAligned(std::to_string(dtaus::CRecordLengthValue(extensions)), 4, '0');
  const std::string cents = std::to_string(payment.cents);
  const std::string name = UpperCase(text::PadRight(payment.name, 27));
  const std::string count = RightAligned(std::to_string(extensions), 2, '0');
  const std::string_view first_line =
      payment.purpose_lines.empty() ? std::string_view() : payment.purpose_lines.front();
  const std::array<std::string_view, dtaus::kC18 + 1> values = {length_value,
                                                                "C",
                                                                party_.bank_code,
                                                                payment.bank_code,
                                                                payment.account,
                                                                "0",
                                                                kind_.dtaus_text_key,
                                                                "000",
                                                                "",
                                                                "0",
                                                                party_.bank_code,
                                                                party_.account,
                                                                cents,
                                                                "",
                                                                name,
                                                                "",
                                                                party_name_upper_,
                                                                first_line,
                                                                kEuro,
                                                                "",
                                                                count};
  std::string& record = record_;
  record.clear();
  const std::span<const Field> fields(dtaus::kCRecord);
  const size_t first_part =
      AppendFields(record, fields.first(dtaus::kC15), std::span(values).first(dtaus::kC15));
  if (first_part != dtaus::kBlockLength) {
    throw GenerationStop(LengthFailure(number, text::Left(record, dtaus::kBlockLength)));
  }
  const size_t constant_part = first_part + AppendFields(record, fields.subspan(dtaus::kC15),
                                                         std::span(values).subspan(dtaus::kC15));
  AppendExtensions(record, payment.purpose_lines, extensions);
  // Extensions and fill are laid out to their exact widths, so the record has its block length
  // exactly when its constant part has.
  if (constant_part != dtaus::kCRecordConstantLength) {
    throw GenerationStop(LengthFailure(number, text::Mid(record, dtaus::kBlockLength + 1)));
  }
  account_sum_ += DigitsValue(payment.account);
  bank_code_sum_ += DigitsValue(payment.bank_code);
  ++count_;
  sum_cents_ += payment.cents;
  text::AppendWindows1252(records_, record);
  record_ends_.push_back(records_.size());
  return RightAligned(cents, dtaus::kCRecord[dtaus::kC12].width, '0');
}

std::string DtausWriter::HeaderRecord(const std::string& reference,
                                      const std::string& creation_date,
                                      const std::string& execution_date) const {
  const std::array<std::string_view, dtaus::kA12 + 1> header_values = {kRecordLength128,
                                                                       "A",
                                                                       kind_.dtaus_file_kind,
                                                                       party_.bank_code,
                                                                       "0",
                                                                       party_name_upper_,
                                                                       creation_date,
                                                                       "",
                                                                       party_.account,
                                                                       reference,
                                                                       "",
                                                                       execution_date,
                                                                       "",
                                                                       kEuro};
  std::string header_text;
  if (AppendFields(header_text, dtaus::kARecord, header_values) != dtaus::kBlockLength) {
    throw GenerationStop(Message(msg::kDtausHeaderLength));
  }
  return text::ToWindows1252(header_text);
}

std::string DtausWriter::TrailerRecord() const {
  const std::string count = std::to_string(count_);
  const std::string accounts = std::to_string(account_sum_);
  const std::string bank_codes = std::to_string(bank_code_sum_);
  const std::string cents = std::to_string(sum_cents_);
  const std::array<std::string_view, dtaus::kE9 + 1> trailer_values = {
      kRecordLength128, "E", "", count, "0", accounts, bank_codes, cents, ""};
  std::string trailer_text;
  if (AppendFields(trailer_text, dtaus::kERecord, trailer_values) != dtaus::kBlockLength) {
    throw GenerationStop(Message(msg::kDtausTrailerLength));
  }
  return text::ToWindows1252(trailer_text);
}

void DtausWriter::Write(const std::string& reference, const std::string& creation_date,
                        const std::string& execution_date, const TextSink& readable,
                        const TextSink& transfer) const {
  const std::string header = HeaderRecord(reference, creation_date, execution_date);
  const std::string trailer = TrailerRecord();

  PieceBuffer lines(readable);
  lines.text().append(header).append(kCrLf);
  size_t start = 0;
  for (const size_t end : record_ends_) {
    lines.text().append(std::string_view(records_).substr(start, end - start)).append(kCrLf);
    lines.HandOnIfFull();
    start = end;
  }
  lines.text().append(trailer).append(kCrLf);
  lines.HandOn();

  transfer(header);
  transfer(records_);
  transfer(trailer);
}

DtausTexts DtausWriter::Finish(const std::string& reference, const std::string& creation_date,
                               const std::string& execution_date) const {
  DtausTexts texts;
  Write(reference, creation_date, execution_date, AppendTo(texts.readable),
        AppendTo(texts.transfer));
  return texts;
}

}  // namespace lastora::generation
