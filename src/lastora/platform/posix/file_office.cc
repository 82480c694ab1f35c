#include "platform/posix/file_office.h"

#include <optional>

#include "core/files.h"
#include "lastora/vb_error.h"
#include "platform/posix/docx_document.h"
#include "platform/posix/external_program.h"
#include "platform/posix/xlsx_document.h"

namespace lastora {
namespace {

constexpr std::string_view kLegacySignature = "\xD0\xCF\x11\xE0";

std::string OfficeProgram(const std::string& purpose) {
  std::string soffice = FindProgram("soffice");
  if (soffice.empty()) {
    throw VbError(429, purpose + " braucht LibreOffice (soffice), das nicht installiert ist.");
  }
  return soffice;
}

// Converts with LibreOffice into the scratch folder; the converted file's path.
std::filesystem::path Convert(const std::filesystem::path& file, const std::string& format,
                              const ScratchFolder& scratch, const std::string& purpose) {
  const std::string soffice = OfficeProgram(purpose);
  const std::filesystem::path out = scratch.path() / "out";
  std::filesystem::create_directories(out);
  // A profile of its own, so that a LibreOffice the user has open is not disturbed.
  const int status =
      RunProgram(soffice, {"--headless", "--norestore",
                           "-env:UserInstallation=file://" + (scratch.path() / "profile").string(),
                           "--convert-to", format, "--outdir", out.string(), file.string()});
  const std::filesystem::path converted =
      out / (file.stem().string() + "." + format.substr(0, format.find(':')));
  if (status != 0 || !std::filesystem::exists(converted)) {
    throw VbError(
        75, purpose + ": LibreOffice konnte " + file.filename().string() + " nicht umwandeln.");
  }
  return converted;
}

class FileDocument : public OfficeDocument {
 public:
  FileDocument(const std::string& path, DocumentKind kind) : kind_(kind) {
    std::string bytes = files::ReadWhole(path);
    if (std::string_view(bytes).starts_with(kLegacySignature)) {
      legacy_format_ = kind == DocumentKind::kWordProcessor ? "doc" : "xls";
      const std::filesystem::path copy = scratch_.path() / ("template." + *legacy_format_);
      files::WriteWhole(copy.string(), bytes);
      bytes =
          files::ReadWhole(Convert(copy, ModernFormat(), scratch_, "Die Vorlage " + path).string());
    }
    if (kind == DocumentKind::kWordProcessor) {
      words_.emplace(bytes, path);
    } else {
      sheets_.emplace(bytes, path);
    }
  }

  std::vector<std::string> StoryTexts() override {
    return words_ ? words_->StoryTexts() : sheets_->CellTexts();
  }
  void ReplaceAll(const std::string& find, const std::string& replacement) override {
    if (words_) {
      words_->ReplaceAll(find, replacement);
    } else {
      sheets_->ReplaceAll(find, replacement);
    }
  }
  std::vector<TemplateCell> PlaceholderCells() override {
    return sheets_ ? sheets_->PlaceholderCells() : std::vector<TemplateCell>{};
  }
  void SetCellText(const TemplateCell& cell) override {
    if (sheets_) sheets_->SetCellText(cell);
  }
  std::vector<std::string> SheetRowTexts(const std::string& sheet, int32_t row,
                                         int32_t columns) override {
    return sheets_ ? sheets_->SheetRowTexts(sheet, row, columns)
                   : std::vector<std::string>(static_cast<size_t>(columns));
  }
  SheetExtent UsedExtent() override { return sheets_ ? sheets_->UsedExtent() : SheetExtent{}; }
  void LayOutLabels(const LabelSheet& sheet) override {
    if (sheets_) sheets_->LayOutLabels(sheet);
  }
  bool HasSheet(const std::string& name) override { return sheets_ && sheets_->HasSheet(name); }
  void ReplaceLogos(const LogoPlacement& logo) override {
    if (words_) {
      words_->ReplaceLogos(logo);
    } else {
      sheets_->ReplaceLogos(logo);
    }
  }
  void PrintOut(int32_t copies, const std::string& printer, bool first_page_only) override;
  void SaveAs(const std::string& path) override;

 private:
  std::string ModernFormat() const {
    return kind_ == DocumentKind::kWordProcessor ? "docx" : "xlsx";
  }
  std::string Bytes() { return words_ ? words_->Write() : sheets_->Write(); }
  // The document as a file in the scratch folder, in the modern format.
  std::filesystem::path ScratchCopy(const std::string& stem) {
    const std::filesystem::path file = scratch_.path() / (stem + "." + ModernFormat());
    files::WriteWhole(file.string(), Bytes());
    return file;
  }

  DocumentKind kind_;
  ScratchFolder scratch_;
  std::optional<std::string> legacy_format_;
  std::optional<DocxDocument> words_;
  std::optional<XlsxDocument> sheets_;
};

void FileDocument::PrintOut(int32_t copies, const std::string& printer, bool first_page_only) {
  const std::string purpose = "Drucken";
  const std::string lp = FindProgram("lp");
  if (lp.empty()) {
    throw VbError(429, "Drucken braucht den Druckbefehl lp (CUPS), der nicht installiert ist.");
  }
  const std::filesystem::path pdf = Convert(ScratchCopy("druck"), "pdf", scratch_, purpose);
  std::vector<std::string> arguments = {"-n", std::to_string(copies < 1 ? 1 : copies)};
  if (!printer.empty()) arguments.insert(arguments.end(), {"-d", printer});
  if (first_page_only) arguments.insert(arguments.end(), {"-P", "1"});
  arguments.push_back(pdf.string());
  if (RunProgram(lp, arguments) != 0) {
    throw VbError(75, "Drucken: der Druckauftrag wurde nicht angenommen" +
                          (printer.empty() ? std::string() : " (Drucker " + printer + ")") + ".");
  }
}

void FileDocument::SaveAs(const std::string& path) {
  if (!legacy_format_) {
    files::WriteWhole(path, Bytes());
    return;
  }
  const std::filesystem::path legacy =
      Convert(ScratchCopy("dokument"), *legacy_format_, scratch_, "Speichern");
  files::WriteWhole(path, files::ReadWhole(legacy.string()));
}

}  // namespace

std::unique_ptr<OfficeDocument> FileOffice::Open(const std::string& path, DocumentKind kind) {
  return std::make_unique<FileDocument>(path, kind);
}

}  // namespace lastora
