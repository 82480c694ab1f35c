#include "generation/sepa_document.h"

#include <array>
#include <cstring>
#include <string_view>

#include "core/cents.h"
#include "lastora/variant.h"

namespace lastora::generation {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kProduct = "Lastora";
constexpr std::string_view kVersion = "V2.13.09.15";
constexpr std::string_view kProductAddress = "https://lastora.example/";
constexpr std::string_view kSchemaInstance = "http://www.w3.org/2001/XMLSchema-instance";
constexpr std::string_view kIsoNamespace = "urn:iso:std:iso:20022:tech:xsd:";
constexpr std::string_view kAmountOpen = "<InstdAmt Ccy=\"EUR\">";
// A direct debit's values take 150 to 350 bytes, its whole block about 1,000. Reserving for long
// values costs nothing where they are short: pages that are never written are never mapped.
constexpr size_t kValuesSizeHint = 384;
constexpr size_t kTransactionSizeHint = 1100;

// The values of a transaction, in the order of SepaTransaction.
enum Value {
  kEndToEnd,
  kAmount,
  kMandateId,
  kMandateDate,
  kBic,
  kName,
  kIban,
  kRemittance,
  kValueCount
};
using Values = std::array<std::string_view, kValueCount>;
constexpr char kMarker = '\x01';
using Length = uint32_t;

// Element values may hold what a member typed into the workbook; escaping keeps a name such as
// "Meier & Sohn" from breaking the document.
void AppendEscaped(std::string& out, std::string_view value) {
  size_t start = 0;
  for (size_t i = 0; i < value.size(); ++i) {
    std::string_view entity;
    switch (value[i]) {
      case '&':
        entity = "&amp;";
        break;
      case '<':
        entity = "&lt;";
        break;
      case '>':
        entity = "&gt;";
        break;
      default:
        continue;
    }
    out.append(value.substr(start, i - start));
    out.append(entity);
    start = i + 1;
  }
  out.append(value.substr(start));
}

void Line(std::string& out, size_t indent, std::string_view text) {
  out.append(indent, ' ');
  out.append(text);
  out.append(kCrLf);
}

// "<stem suffix>" on a line of its own; the kinds name their parties by a stem ("Cdtr", "Dbtr")
// to which the element adds its suffix ("Acct", "Agt").
void Open(std::string& out, size_t indent, std::string_view stem, std::string_view suffix = "") {
  out.append(indent, ' ');
  out.append("<").append(stem).append(suffix).append(">");
  out.append(kCrLf);
}

void Close(std::string& out, size_t indent, std::string_view stem, std::string_view suffix = "") {
  out.append(indent, ' ');
  out.append("</").append(stem).append(suffix).append(">");
  out.append(kCrLf);
}

void Element(std::string& out, size_t indent, std::string_view tag, std::string_view value) {
  out.append(indent, ' ');
  out.append("<").append(tag).append(">");
  AppendEscaped(out, value);
  out.append("</").append(tag).append(">");
  out.append(kCrLf);
}

void AmountLine(std::string& out, size_t indent, std::string_view amount) {
  out.append(indent, ' ');
  out.append(kAmountOpen).append(amount).append("</InstdAmt>");
  out.append(kCrLf);
}

// Agent (BIC), party (name) and account (IBAN) of one side, in the order the schemas want.
void AppendAgentPartyAccount(std::string& out, size_t indent, std::string_view stem,
                             std::string_view bic, std::string_view name, std::string_view iban,
                             bool agent_first) {
  const auto agent = [&] {
    Open(out, indent, stem, "Agt");
    Open(out, indent + 2, "FinInstnId");
    Element(out, indent + 4, "BIC", bic);
    Close(out, indent + 2, "FinInstnId");
    Close(out, indent, stem, "Agt");
  };
  if (agent_first) agent();
  Open(out, indent, stem);
  Element(out, indent + 2, "Nm", name);
  Close(out, indent, stem);
  Open(out, indent, stem, "Acct");
  Open(out, indent + 2, "Id");
  Element(out, indent + 4, "IBAN", iban);
  Close(out, indent + 2, "Id");
  Close(out, indent, stem, "Acct");
  if (!agent_first) agent();
}

void AppendMandate(std::string& out, std::string_view mandate_id, std::string_view date) {
  Open(out, 8, "DrctDbtTx");
  Open(out, 10, "MndtRltdInf");
  Element(out, 12, "MndtId", mandate_id);
  Element(out, 12, "DtOfSgntr", date);
  Line(out, 12, "<AmdmntInd>false</AmdmntInd>");
  Close(out, 10, "MndtRltdInf");
  Close(out, 8, "DrctDbtTx");
}

// A transaction block from its opening tag to the row's account, the part every payment has.
void AppendBlockHead(std::string& out, const SepaKind& kind, const Values& values) {
  Open(out, 6, kind.transaction);
  Open(out, 8, "PmtId");
  Element(out, 10, "EndToEndId", values[kEndToEnd]);
  Close(out, 8, "PmtId");
  if (kind.credit_transfer) {
    Open(out, 8, "Amt");
    AmountLine(out, 8, values[kAmount]);
    Close(out, 8, "Amt");
  } else {
    AmountLine(out, 8, values[kAmount]);
    AppendMandate(out, values[kMandateId], values[kMandateDate]);
  }
  AppendAgentPartyAccount(out, 8, kind.other_party, values[kBic], values[kName], values[kIban],
                          /*agent_first=*/true);
}

void AppendCreditorSchemeId(std::string& out, const std::string& creditor_id) {
  Open(out, 6, "CdtrSchmeId");
  Open(out, 8, "Id");
  Open(out, 10, "PrvtId");
  Open(out, 12, "Othr");
  Element(out, 14, "Id", creditor_id);
  Open(out, 14, "SchmeNm");
  Line(out, 16, "<Prtry>SEPA</Prtry>");
  Close(out, 14, "SchmeNm");
  Close(out, 12, "Othr");
  Close(out, 10, "PrvtId");
  Close(out, 8, "Id");
  Close(out, 6, "CdtrSchmeId");
}

// The markers stand for values that are filled in later; escaping leaves them as they are.
template <typename Writer>
SepaDocument::Template WithMarkers(const Writer& write) {
  std::array<std::string, kValueCount> marker_texts;
  Values markers;
  for (size_t i = 0; i < kValueCount; ++i) {
    marker_texts[i] = std::string{kMarker, static_cast<char>('0' + i)};
    markers[i] = marker_texts[i];
  }
  std::string text;
  write(text, markers);
  SepaDocument::Template result;
  size_t start = 0;
  for (size_t at; (at = text.find(kMarker, start)) != std::string::npos; start = at + 2) {
    result.pieces.push_back(text.substr(start, at - start));
    result.order.push_back(static_cast<size_t>(text[at + 1] - '0'));
  }
  result.pieces.push_back(text.substr(start));
  return result;
}

// Values are stored already escaped, so that the template's pieces and values are only copied.
void Expand(std::string& out, const SepaDocument::Template& block, const Values& values) {
  for (size_t k = 0; k < block.order.size(); ++k) {
    out.append(block.pieces[k]);
    out.append(values[block.order[k]]);
  }
  out.append(block.pieces.back());
}

void StoreEscaped(std::string& store, std::string_view value) {
  const size_t length_at = store.size();
  store.append(sizeof(Length), '\0');
  AppendEscaped(store, value);
  const Length length = static_cast<Length>(store.size() - length_at - sizeof(Length));
  std::memcpy(store.data() + length_at, &length, sizeof length);
}

std::string_view NextStored(std::string_view store, size_t& at) {
  Length length = 0;
  std::memcpy(&length, store.data() + at, sizeof length);
  at += sizeof length;
  const std::string_view value = store.substr(at, length);
  at += length;
  return value;
}

}  // namespace

SepaDocument::SepaDocument(const SepaKind& kind, size_t expected_transactions)
    : kind_(kind),
      block_(WithMarkers([&kind](std::string& out, const Values& markers) {
        AppendBlockHead(out, kind, markers);
      })),
      remittance_(WithMarkers([](std::string& out, const Values& markers) {
        Open(out, 8, "RmtInf");
        Element(out, 10, "Ustrd", markers[kRemittance]);
        Close(out, 8, "RmtInf");
      })) {
  Close(block_end_, 6, kind_.transaction);
  values_.reserve(expected_transactions * kValuesSizeHint);
}

void SepaDocument::Append(const SepaTransaction& transaction) {
  const std::string amount = money::CentsText(transaction.cents, '.');
  Values values;
  values[kEndToEnd] = transaction.end_to_end_id;
  values[kAmount] = amount;
  values[kMandateId] = transaction.mandate_id;
  values[kMandateDate] = transaction.mandate_date;
  values[kBic] = transaction.bic;
  values[kName] = transaction.name;
  values[kIban] = transaction.iban;
  values[kRemittance] = transaction.remittance;
  for (std::string_view value : values) StoreEscaped(values_, value);
  ++count_;
  sum_cents_ += transaction.cents;
}

void SepaDocument::AppendHeader(std::string& out, const SepaHeader& header) const {
  const std::string count = std::to_string(count_);
  const std::string sum = money::CentsText(sum_cents_, '.');
  Line(out, 0, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  out.append("<!--Generated by ").append(kProduct).append(" ").append(kVersion).append(" ");
  out.append(kProductAddress).append(" -->").append(kCrLf);
  out.append("<Document xmlns=\"").append(kIsoNamespace).append(kind_.message);
  out.append("\" xmlns:xsi=\"").append(kSchemaInstance);
  out.append("\" xsi:schemaLocation=\"").append(kIsoNamespace).append(kind_.message);
  out.append(" ").append(kind_.message).append(".xsd\">").append(kCrLf);
  Open(out, 2, kind_.initiation);
  Open(out, 4, "GrpHdr");
  Element(out, 6, "MsgId", header.message_id);
  Element(out, 6, "CreDtTm", header.creation_time);
  Element(out, 6, "NbOfTxs", count);
  Element(out, 6, "CtrlSum", sum);
  Open(out, 6, "InitgPty");
  Element(out, 8, "Nm", header.own_name);
  Close(out, 6, "InitgPty");
  Close(out, 4, "GrpHdr");
  Open(out, 4, "PmtInf");
  Element(out, 6, "PmtInfId", header.payment_info_id);
  Element(out, 6, "PmtMtd", kind_.payment_method);
  Line(out, 6, "<BtchBookg>true</BtchBookg>");
  Element(out, 6, "NbOfTxs", count);
  Element(out, 6, "CtrlSum", sum);
  Open(out, 6, "PmtTpInf");
  Open(out, 8, "SvcLvl");
  Line(out, 9, "<Cd>SEPA</Cd>");
  Close(out, 8, "SvcLvl");
  if (!kind_.local_instrument.empty()) {
    Open(out, 8, "LclInstrm");
    Element(out, 10, "Cd", kind_.local_instrument);
    Close(out, 8, "LclInstrm");
    Element(out, 8, "SeqTp", header.sequence_type);
  }
  Close(out, 6, "PmtTpInf");
  AppendOwnParty(out, header);
}

void SepaDocument::AppendOwnParty(std::string& out, const SepaHeader& header) const {
  Element(out, 6, kind_.requested_date, header.requested_date);
  AppendAgentPartyAccount(out, 6, kind_.own_party, header.own_bic, header.own_name, header.own_iban,
                          /*agent_first=*/false);
  Line(out, 6, "<ChrgBr>SLEV</ChrgBr>");
  if (!kind_.credit_transfer) AppendCreditorSchemeId(out, header.creditor_id);
}

void SepaDocument::Write(const SepaHeader& header, const TextSink& sink) const {
  PieceBuffer buffer(sink);
  std::string& out = buffer.text();
  AppendHeader(out, header);
  size_t at = 0;
  Values values;
  for (int64_t i = 0; i < count_; ++i) {
    for (std::string_view& value : values) value = NextStored(values_, at);
    Expand(out, block_, values);
    // An empty Ustrd breaks the schema; a payment without remittance text simply has none.
    if (!values[kRemittance].empty()) Expand(out, remittance_, values);
    out.append(block_end_);
    buffer.HandOnIfFull();
  }
  Close(out, 4, "PmtInf");
  Close(out, 2, kind_.initiation);
  Close(out, 0, "Document");
  out.append(kCrLf);
  buffer.HandOn();
}

std::string SepaDocument::Text(const SepaHeader& header) const {
  std::string text;
  text.reserve(static_cast<size_t>(count_) * kTransactionSizeHint);
  Write(header, AppendTo(text));
  return text;
}

std::string SepaCreationTime(double local_serial) {
  const Variant stamp = Variant::Date(local_serial);
  return Format(stamp, "YYYY-MM-DD") + "T" + Format(stamp, "hh:mm:ss") + "Z";
}

}  // namespace lastora::generation
