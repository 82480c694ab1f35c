#include "support/fake_office.h"

#include <filesystem>
#include <sstream>

#include "core/files.h"
#include "lastora/vb_error.h"
#include "support/temp_dir.h"

namespace lastora::testing {
namespace {

class FakeDocument : public OfficeDocument {
 public:
  FakeDocument(FakeOffice& office, std::vector<std::string> lines) : office_(office) {
    for (std::string& line : lines) {
      if (line == "[Settings]") {
        has_settings_ = true;
      } else if (has_settings_) {
        settings_rows_.push_back(std::move(line));
      } else {
        texts_.push_back(std::move(line));
      }
    }
  }

  std::vector<std::string> StoryTexts() override { return texts_; }
  void ReplaceAll(const std::string& find, const std::string& replacement) override {
    for (std::string& text : texts_) {
      for (size_t at = text.find(find); at != std::string::npos;
           at = text.find(find, at + replacement.size())) {
        text.replace(at, find.size(), replacement);
      }
    }
  }
  std::vector<TemplateCell> PlaceholderCells() override {
    std::vector<TemplateCell> cells;
    for (size_t i = 0; i < texts_.size(); ++i) {
      if (texts_[i].find("<<") != std::string::npos) {
        cells.push_back({static_cast<int32_t>(i + 1), 1, texts_[i]});
      }
    }
    return cells;
  }
  void SetCellText(const TemplateCell& cell) override {
    office_.calls.push_back("Cell " + std::to_string(cell.row) + " " + cell.text);
    texts_.at(static_cast<size_t>(cell.row - 1)) = cell.text;
  }
  std::vector<std::string> SheetRowTexts(const std::string& sheet, int32_t row,
                                         int32_t columns) override {
    std::vector<std::string> texts(static_cast<size_t>(columns));
    if (sheet != "Settings" || row > static_cast<int32_t>(settings_rows_.size())) return texts;
    std::istringstream cells(settings_rows_[static_cast<size_t>(row - 1)]);
    for (size_t i = 0; i < texts.size() && std::getline(cells, texts[i], '\t');) ++i;
    return texts;
  }
  SheetExtent UsedExtent() override { return {static_cast<int32_t>(texts_.size()), 1}; }
  void LayOutLabels(const LabelSheet& sheet) override {
    std::ostringstream call;
    call << "Labels " << sheet.block_rows << "x" << sheet.block_columns << ", "
         << sheet.labels_across << " across, " << sheet.label_rows << " rows";
    office_.calls.push_back(call.str());
    texts_.clear();
    for (const Label& label : sheet.labels) {
      std::string line =
          "@" + std::to_string(label.top_row) + "," + std::to_string(label.left_column);
      for (const TemplateCell& cell : label.cells) line += " | " + cell.text;
      texts_.push_back(line);
    }
  }
  bool HasSheet(const std::string& name) override { return name == "Settings" && has_settings_; }
  void ReplaceLogos(const LogoPlacement&) override {}
  void PrintOut(int32_t copies, const std::string& printer, bool first_page_only) override {
    office_.calls.push_back("Print " + std::to_string(copies) + (printer.empty() ? "" : " ") +
                            printer + (first_page_only ? " first-page" : ""));
  }
  void SaveAs(const std::string& path) override {
    std::string bytes;
    for (const std::string& text : texts_) bytes += text + "\n";
    WriteBytes(files::NativePath(path), bytes);
  }

 private:
  FakeOffice& office_;
  std::vector<std::string> texts_;
  bool has_settings_ = false;
  std::vector<std::string> settings_rows_;  // columns separated by tabs
};

}  // namespace

std::unique_ptr<OfficeDocument> FakeOffice::Open(const std::string& path, DocumentKind kind) {
  const std::string native = files::NativePath(path);
  calls.push_back("Open " + std::filesystem::path(native).filename().string() +
                  (kind == DocumentKind::kWordProcessor ? " word" : " sheet"));
  const std::string bytes = ReadBytes(native);
  if (bytes.starts_with("broken")) throw VbError(5981, "Die Datei kann nicht geöffnet werden");
  std::vector<std::string> lines;
  std::istringstream in(bytes);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return std::make_unique<FakeDocument>(*this, std::move(lines));
}

void FakeOffice::SetStatusText(const std::string& text) { calls.push_back("Status " + text); }

void FakeOffice::Quit() { calls.push_back("Quit"); }

std::vector<std::string> FakeOffice::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : calls) {
    if (call.starts_with(prefix)) found.push_back(call);
  }
  return found;
}

ScopedFakeOffice::ScopedFakeOffice()
    : office_(std::make_shared<FakeOffice>()), previous_(SetOffice(office_)) {}

ScopedFakeOffice::~ScopedFakeOffice() { SetOffice(previous_); }

}  // namespace lastora::testing
