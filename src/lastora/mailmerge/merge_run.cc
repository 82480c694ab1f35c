// The mail-merge run: a first pass prepares every selected definition (template, output folder,
// placeholders, name pattern, recipients), a second pass fills one document per record and
// definition. The office applications are quit on every path.
#include "mailmerge/merge_run.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "component/catalogue.h"
#include "component/helpers.h"
#include "component/run_frame.h"
#include "component/write_log.h"
#include "core/files.h"
#include "core/text.h"
#include "lastora/office.h"
#include "lastora/platform.h"
#include "lastora/variant.h"
#include "lastora/vb_error.h"
#include "mailmerge/document_name.h"
#include "mailmerge/label_layout.h"
#include "mailmerge/outbox.h"
#include "mailmerge/print_settings.h"
#include "mailmerge/record_text.h"

namespace lastora {
namespace {

// Columns of a definition row.
constexpr int32_t kTemplateColumn = 2;
constexpr int32_t kNamePatternColumn = 4;
constexpr int32_t kFolderColumn = 5;
constexpr int32_t kCopiesColumn = 6;
constexpr int32_t kSaveColumn = 7;
constexpr int32_t kMailColumn = 8;
constexpr int32_t kRecipientsColumn = 9;
constexpr int32_t kSubjectColumn = 10;
constexpr int32_t kBodyColumn = 11;
constexpr int32_t kSortColumnsColumn = 18;
constexpr int32_t kSortOrderColumn = 19;
constexpr int32_t kAttachmentsColumn = 20;
constexpr int32_t kTemplateFolderColumn = 21;
constexpr int32_t kTemplateNameColumn = 22;
constexpr int32_t kSavedFolderColumn = 23;
constexpr int32_t kSavedNameColumn = 24;

constexpr char kPrintSettingsPath[] = "..\\Vorlagen\\Lastora_Print.ini";
constexpr char kLogoPath[] = "..\\Vorlagen\\Lastora_Logo.png";
constexpr char kWorkingCopyName[] = "Dummy.doc";
constexpr std::string_view kTimeFormatMark = "Timeformat=";

using UserTexts = std::vector<std::pair<std::string, std::string>>;

struct Definition {
  int32_t row = 0;
  std::string template_path;  // absolute
  std::string template_folder;
  std::string extension;
  DocumentKind kind = DocumentKind::kWordProcessor;
  bool save = false;
  bool mail = false;
  std::string output_folder;
  std::vector<NamePart> name_parts;
  std::vector<RecipientEntry> recipients;
  std::vector<int32_t> fields;  // record columns whose placeholders the template holds
  UserTexts user_texts;         // the user texts it holds, with their final text
  std::vector<std::pair<TemplateCell, std::vector<NamePart>>> cells;  // spreadsheets
  std::optional<LabelSettings> labels;  // a label template: all records on one sheet
};

// The labels of one label definition, gathered over the records.
struct LabelBatch {
  int32_t first_record_row = 0;
  std::vector<std::vector<TemplateCell>> labels;
};

struct Counters {
  int32_t printed = 0;
  int32_t saved = 0;
  int32_t mails = 0;
};

// Ends the run early with a result text (message 11).
struct Stop {
  std::string result;
};

std::string Text(const Variant& cell) { return cell.IsNull() ? "" : CStr(cell); }

bool IsX(const Variant& cell) { return text::UCase(Text(cell)) == "X"; }

std::vector<std::string> SplitList(const Variant& cell) {
  const VariantArray parts = SplitToArray(Text(cell), ";");
  std::vector<std::string> list;
  for (int32_t i = parts.Lower(); i <= parts.Upper(); ++i) list.push_back(CStr(parts[i]));
  return list;
}

std::optional<DocumentKind> KindOf(const std::string& path) {
  const std::string tail = text::LCase(path.size() > 4 ? path.substr(path.size() - 4) : path);
  if (tail.find("doc") != std::string::npos) return DocumentKind::kWordProcessor;
  if (tail.find("xls") != std::string::npos) return DocumentKind::kSpreadsheet;
  return std::nullopt;
}

std::string NativeSeparator() {
  return std::string(1, static_cast<char>(std::filesystem::path::preferred_separator));
}

std::string AbsoluteFolderOf(const std::string& file) {
  const std::string native = files::NativePath(file);
  const std::filesystem::path absolute =
      std::filesystem::absolute(std::filesystem::path(std::u8string(native.begin(), native.end())));
  const std::u8string folder = absolute.parent_path().u8string();
  return std::string(folder.begin(), folder.end()) + NativeSeparator();
}

bool FolderExists(const std::string& folder) {
  std::error_code error;
  const std::string native = files::NativePath(folder);
  return std::filesystem::is_directory(std::u8string(native.begin(), native.end()), error);
}

void RemoveFile(const std::string& path) {
  std::error_code error;
  const std::string native = files::NativePath(path);
  std::filesystem::remove(std::u8string(native.begin(), native.end()), error);
}

std::string UserTextValue(const std::string& text, double now) {
  if (text.starts_with(kTimeFormatMark)) {
    return FormatDateTokens(text.substr(kTimeFormatMark.size()), now);
  }
  return text;
}

class MergeRun {
 public:
  MergeRun(const MergeRequest& request, Office& office)
      : request_(request), office_(office), now_(GetClock()->Now()) {}

  std::string Run();

 private:
  std::vector<int32_t> SelectedRows() const;
  void PrepareDefinitions();
  std::optional<Definition> Prepare(int32_t row);
  void FindPlaceholders(Definition& definition, OfficeDocument& document);
  void SortRecords();
  void MergeAll();
  void MergeOne(const Definition& definition, int32_t record_row, int32_t record_count);
  void FillWordDocument(const Definition& definition, OfficeDocument& document, int32_t record_row);
  std::vector<TemplateCell> FilledCells(const Definition& definition, int32_t record_row,
                                        int32_t record_count) const;
  void ReplaceUserTexts(OfficeDocument& document) const;
  void MergeLabels(const Definition& definition, LabelBatch& batch);
  void PrintSaveAndMail(const Definition& definition, OfficeDocument& document, int32_t record_row,
                        int32_t record_count);
  void QueueMail(const Definition& definition, const std::string& document_path,
                 int32_t record_row);
  void RemoveWorkingCopies();

  Variant& Cell(int32_t row, int32_t column) { return request_.definitions.At(row, column); }

  const MergeRequest& request_;
  Office& office_;
  double now_;
  PrintSettings settings_;
  LogoPlacement logo_;
  bool have_logo_ = false;
  Table records_;
  std::vector<Definition> definitions_;
  std::vector<std::string> sort_titles_{""};
  std::vector<std::string> sort_order_{""};
  std::vector<std::string> working_copies_;
  Counters counters_;
};

std::vector<int32_t> MergeRun::SelectedRows() const {
  if (request_.definition_row != 0) return {request_.definition_row};
  std::vector<int32_t> rows;
  for (int32_t row = 1; row <= request_.definitions.RowUpper(); ++row) rows.push_back(row);
  return rows;
}

std::optional<Definition> MergeRun::Prepare(int32_t row) {
  Definition definition;
  definition.row = row;
  const std::string written_path = Text(Cell(row, kTemplateColumn));
  definition.template_path = ResolveAppRelative(written_path);
  if (!FileExists(definition.template_path)) throw Stop{Message(11) + written_path};
  definition.save = IsX(Cell(row, kSaveColumn));
  definition.mail = IsX(Cell(row, kMailColumn));
  if (definition.save) {
    std::string folder = ResolveAppRelative(Text(Cell(row, kFolderColumn)));
    if (!folder.ends_with('\\') && !folder.ends_with('/')) folder += "\\";
    Cell(row, kFolderColumn) = Variant(folder);
    if (!FolderExists(folder)) throw Stop{Message(11) + folder};
    definition.output_folder = folder;
  }
  definition.name_parts =
      PrepareNamePattern(Text(Cell(row, kNamePatternColumn)), request_.header, now_);
  for (const std::string& entry : SplitList(Cell(row, kRecipientsColumn))) {
    if (entry.empty() || entry == "-") continue;
    if (entry.find('@') != std::string::npos) {
      definition.recipients.push_back({entry, 0});
      continue;
    }
    const int32_t column = FindHeaderColumn(request_.header, entry);
    if (column == 0) {
      WriteLog("---1-", 1, "", "Seriendruck: Empfängerfeld ohne passende Spalte: " + entry,
               "Hinweis", "", "");
    }
    definition.recipients.push_back({"", column});
  }
  sort_titles_ = SplitList(Cell(row, kSortColumnsColumn));
  sort_order_ = SplitList(Cell(row, kSortOrderColumn));
  definition.template_folder = AbsoluteFolderOf(definition.template_path);
  definition.extension = TextAfterLast(FileNamePart(definition.template_path), ".");
  Cell(row, kTemplateFolderColumn) = Variant(definition.template_folder);
  Cell(row, kTemplateNameColumn) = Variant(FileNamePart(definition.template_path));
  const std::optional<DocumentKind> kind = KindOf(definition.template_path);
  if (!kind) return std::nullopt;
  definition.kind = *kind;
  std::unique_ptr<OfficeDocument> document;
  try {
    document = office_.Open(definition.template_path, definition.kind);
  } catch (const VbError&) {
    WriteLog("----1", 0, "", Message(11) + "\r\n\r\n" + definition.template_path, "Hinweis", "",
             "");
    return std::nullopt;
  }
  FindPlaceholders(definition, *document);
  return definition;
}

void MergeRun::FindPlaceholders(Definition& definition, OfficeDocument& document) {
  if (definition.kind == DocumentKind::kSpreadsheet) {
    ReplaceUserTexts(document);
    for (TemplateCell& cell : document.PlaceholderCells()) {
      std::vector<NamePart> pieces = ParseCellPieces(cell.text, request_.header, now_);
      definition.cells.emplace_back(std::move(cell), std::move(pieces));
    }
    if (document.HasSheet(kLabelSettingsSheet)) {
      definition.labels = ReadLabelSettings(
          document.SheetRowTexts(kLabelSettingsSheet, definition.row, kLabelSettingsColumns),
          definition.row, document.UsedExtent());
    }
    return;
  }
  std::vector<std::string> stories = document.StoryTexts();
  auto occurs = [&stories](const std::string& placeholder) {
    for (const std::string& story : stories) {
      if (story.find("<<") != std::string::npos && story.find(placeholder) != std::string::npos) {
        return true;
      }
    }
    return false;
  };
  for (int32_t column = 1; column <= request_.header.ColUpper(); ++column) {
    const std::string title = Text(request_.header.At(1, column));
    if (!title.empty() && occurs("<<" + title + ">>")) definition.fields.push_back(column);
  }
  for (const auto& [name, text] : settings_.user_texts) {
    if (occurs("<<" + name + ">>")) definition.user_texts.emplace_back(name, text);
  }
}

void MergeRun::PrepareDefinitions() {
  for (int32_t row : SelectedRows()) {
    if (std::optional<Definition> definition = Prepare(row)) {
      definitions_.push_back(std::move(*definition));
    }
  }
}

void MergeRun::SortRecords() {
  std::vector<int32_t> keys;
  for (const std::string& title : sort_titles_) {
    const int32_t column = title.empty() ? 0 : FindHeaderColumn(request_.header, title);
    if (column > 0) keys.push_back(column);
  }
  if (!keys.empty()) SortTable(keys, records_);
}

void MergeRun::MergeAll() {
  std::vector<int32_t> rows;
  int32_t last_row = records_.RowUpper();
  if (request_.record_row > 0) {
    rows.push_back(request_.record_row);
    last_row = request_.record_row;
  } else {
    for (int32_t row = records_.RowLower(); row <= records_.RowUpper(); ++row) rows.push_back(row);
    if (sort_order_.front().starts_with("Abs")) std::reverse(rows.begin(), rows.end());
  }
  std::vector<LabelBatch> batches(definitions_.size());
  int32_t record_count = 0;
  for (int32_t row : rows) {
    ++record_count;
    for (size_t i = 0; i < definitions_.size(); ++i) {
      const Definition& definition = definitions_[i];
      if (definition.kind == DocumentKind::kSpreadsheet) {
        office_.SetStatusText("Bearbeite Anhang Nr. " + std::to_string(record_count) +
                              " aus Zeile " + std::to_string(row) + " von " +
                              std::to_string(last_row));
      }
      if (!definition.labels) {
        MergeOne(definition, row, record_count);
        continue;
      }
      if (batches[i].labels.empty()) batches[i].first_record_row = row;
      batches[i].labels.push_back(FilledCells(definition, row, record_count));
    }
  }
  for (size_t i = 0; i < definitions_.size(); ++i) {
    if (!batches[i].labels.empty()) MergeLabels(definitions_[i], batches[i]);
  }
}

void MergeRun::MergeOne(const Definition& definition, int32_t record_row, int32_t record_count) {
  std::unique_ptr<OfficeDocument> document;
  if (definition.kind == DocumentKind::kWordProcessor) {
    // The template itself is never touched: each record fills a fresh working copy.
    const std::string copy = definition.template_folder + kWorkingCopyName;
    RemoveFile(copy);
    working_copies_.push_back(copy);
    files::WriteWhole(copy, files::ReadWhole(definition.template_path));
    document = office_.Open(copy, definition.kind);
    FillWordDocument(definition, *document, record_row);
  } else {
    document = office_.Open(definition.template_path, definition.kind);
    ReplaceUserTexts(*document);
    for (const TemplateCell& cell : FilledCells(definition, record_row, record_count)) {
      document->SetCellText(cell);
    }
  }
  if (have_logo_) document->ReplaceLogos(logo_);
  PrintSaveAndMail(definition, *document, record_row, record_count);
}

void MergeRun::FillWordDocument(const Definition& definition, OfficeDocument& document,
                                int32_t record_row) {
  for (int32_t column : definition.fields) {
    const std::string value = request_.blank_forms ? "" : RecordText(records_, record_row, column);
    document.ReplaceAll("<<" + Text(request_.header.At(1, column)) + ">>", value);
  }
  for (const auto& [name, text] : definition.user_texts) {
    document.ReplaceAll("<<" + name + ">>", UserTextValue(text, now_));
  }
}

std::vector<TemplateCell> MergeRun::FilledCells(const Definition& definition, int32_t record_row,
                                                int32_t record_count) const {
  std::vector<TemplateCell> filled;
  for (const auto& [cell, pieces] : definition.cells) {
    filled.push_back(cell);
    filled.back().text =
        FillParts(pieces, records_, record_row, record_count, now_, request_.blank_forms);
  }
  return filled;
}

// Each record reopens the template, so the user texts the first pass put in are gone again;
// cells that hold nothing but a user text would otherwise keep their placeholder.
void MergeRun::ReplaceUserTexts(OfficeDocument& document) const {
  for (const auto& [name, text] : settings_.user_texts) {
    document.ReplaceAll("<<" + name + ">>", UserTextValue(text, now_));
  }
}

// One sheet for all records: named and numbered after the first label on it, and printed
// whole, since page 1 alone would leave the other labels out.
void MergeRun::MergeLabels(const Definition& definition, LabelBatch& batch) {
  std::unique_ptr<OfficeDocument> document =
      office_.Open(definition.template_path, definition.kind);
  ReplaceUserTexts(*document);
  document->LayOutLabels(PlanLabelSheet(*definition.labels, std::move(batch.labels)));
  if (have_logo_) document->ReplaceLogos(logo_);
  PrintSaveAndMail(definition, *document, batch.first_record_row, 1);
}

void MergeRun::PrintSaveAndMail(const Definition& definition, OfficeDocument& document,
                                int32_t record_row, int32_t record_count) {
  const Variant& copies = Cell(definition.row, kCopiesColumn);
  if (!copies.IsEmpty() && IsNumeric(copies)) {
    if (!request_.no_print) {
      document.PrintOut(CLng(copies), settings_.printer,
                        definition.kind == DocumentKind::kSpreadsheet && !definition.labels);
    }
    ++counters_.printed;
  }
  if (!definition.save) return;
  const std::string name = DocumentName(definition.name_parts, records_, record_row, record_count,
                                        now_, definition.extension);
  document.SaveAs(definition.output_folder + name);
  Cell(definition.row, kSavedFolderColumn) = Variant(definition.output_folder);
  Cell(definition.row, kSavedNameColumn) = Variant(name);
  ++counters_.saved;
  if (definition.mail && !definition.labels && !request_.blank_forms) {
    QueueMail(definition, definition.output_folder + name, record_row);
  }
}

void MergeRun::QueueMail(const Definition& definition, const std::string& document_path,
                         int32_t record_row) {
  MailJob job;
  job.recipients =
      AssembleRecipients(definition.recipients, records_, record_row, settings_.copy_address);
  if (job.recipients.empty()) return;
  job.attachments =
      AssembleAttachments(document_path, Text(Cell(definition.row, kAttachmentsColumn)));
  job.subject = settings_.subject_prefix + Text(Cell(definition.row, kSubjectColumn));
  job.body = text::Replace(settings_.body, "(BODY)", Text(Cell(definition.row, kBodyColumn)));
  WriteMailJob(request_.definition_set, now_, counters_.mails + 1, job);
  ++counters_.mails;
}

void MergeRun::RemoveWorkingCopies() {
  for (const std::string& copy : working_copies_) RemoveFile(copy);
}

std::string MergeRun::Run() {
  std::string result;
  int32_t number = 0;
  std::string description;
  const bool completed = TrapFailure(
      [&] {
        EnsureMessageTexts();
        if (request_.records.RowCount() == 0) {
          result = Message(183);
          return;
        }
        settings_ = ReadPrintSettings(ResolveAppRelative(kPrintSettingsPath));
        logo_ = {ResolveAppRelative(kLogoPath), settings_.logo_width, settings_.logo_height,
                 request_.picture_left == 0 ? 10 : request_.picture_left,
                 request_.picture_top == 0 ? 10 : request_.picture_top};
        have_logo_ = FileExists(logo_.picture_path);
        records_ = request_.records;
        try {
          PrepareDefinitions();
        } catch (const Stop& stop) {
          result = stop.result;
          return;
        }
        SortRecords();
        MergeAll();
        result = "Seriendruck ok: Anzahl Dokumente: " + std::to_string(counters_.printed) + " " +
                 Message(146) + ", " + std::to_string(counters_.saved) + " " + Message(147) + ", " +
                 std::to_string(counters_.mails) + " " + Message(148);
      },
      &number, &description);
  if (!completed) result = Message(145) + ": " + std::to_string(number) + " - " + description;
  office_.Quit();
  RemoveWorkingCopies();
  return result;
}

}  // namespace

std::string RunMailMerge(const MergeRequest& request) {
  const std::shared_ptr<Office> office = GetOffice();
  return MergeRun(request, *office).Run();
}

}  // namespace lastora
