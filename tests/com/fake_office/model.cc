#include "model.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fake_office {
namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace

bool LoadDocument(const std::wstring& path, DocumentModel& model) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  if (!in) return false;
  std::string line;
  bool first_line_of_story = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    SheetModel* sheet = model.sheets.empty() ? nullptr : model.sheets.back().get();
    if (line == "@story") {
      model.stories.emplace_back();
      first_line_of_story = true;
    } else if (line.rfind("@sheet ", 0) == 0) {
      model.sheets.push_back(std::make_shared<SheetModel>());
      model.sheets.back()->name = line.substr(7);
    } else if (line.rfind("@cell ", 0) == 0 && sheet != nullptr) {
      long row = 0, column = 0;
      int used = 0;
      std::sscanf(line.c_str() + 6, "%ld %ld %n", &row, &column, &used);
      if (used > 0 && line.size() > 6u + used) sheet->cells[{row, column}] = line.substr(6 + used);
    } else if (line.rfind("@created ", 0) == 0) {
      model.created = std::atof(line.c_str() + 9);
    } else if (!model.stories.empty()) {
      std::string& story = model.stories.back();
      if (!first_line_of_story) story += '\r';
      story += line;
      first_line_of_story = false;
    }
  }
  return true;
}

std::string WriteDocument(const DocumentModel& model) {
  std::string out;
  for (const std::string& story : model.stories) {
    out += "@story\n";
    std::stringstream paragraphs(story);
    for (std::string paragraph; std::getline(paragraphs, paragraph, '\r');) out += paragraph + "\n";
  }
  if (model.created != 0) out += "@created " + Number(model.created) + "\n";
  for (const auto& sheet : model.sheets) {
    out += "@sheet " + sheet->name + "\n";
    for (const auto& [place, text] : sheet->cells) {
      out += "@cell " + std::to_string(place.first) + " " + std::to_string(place.second) + " " +
             text + "\n";
    }
  }
  return out;
}

bool SaveDocument(const std::wstring& path, const DocumentModel& model) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  out << WriteDocument(model);
  return static_cast<bool>(out);
}

}  // namespace fake_office
