// The word processor: documents of stories and shapes.
#include "dispatch_object.h"

namespace fake_office {
namespace {

struct OpenDocument {
  DocumentModel model;
  std::wstring path;
  bool open = true;
};
using Document = std::shared_ptr<OpenDocument>;

// Word's search boxes: "^^" is a caret, "^&" in the replacement the text found.
std::string Unescape(const std::string& text, const std::string& found) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '^' && i + 1 < text.size() && text[i + 1] == '^') {
      plain += '^';
      ++i;
    } else if (text[i] == '^' && i + 1 < text.size() && text[i + 1] == '&') {
      plain += found;
      ++i;
    } else {
      plain += text[i];
    }
  }
  return plain;
}

Object* NewFind(Document document, size_t story) {
  return NewObject("Find", {"Execute"}, [=](auto&, bool, auto& args, VARIANT* result) {
    std::string& text = document->model.stories[story];
    const std::string find = Unescape(args.Text(0, "FindText"), "");
    if (find.empty()) throw Failure{"Suchtext fehlt"};
    const std::string replacement = Unescape(args.Text(9, "ReplaceWith"), find);
    bool found = false;
    for (size_t at = text.find(find); at != std::string::npos;
         at = text.find(find, at + replacement.size())) {
      found = true;
      text.replace(at, find.size(), replacement);
    }
    ReturnBool(result, found);
  });
}

Object* NewStoryRange(Document document, size_t story) {
  return NewObject("StoryRange", {"Text", "Find"},
                   [=](auto& member, bool put, auto&, VARIANT* result) {
                     if (put) throw Failure{"Text wird hier nur gelesen"};
                     if (member == "Text") return Return(result, document->model.stories[story]);
                     Return(result, NewFind(document, story));
                   });
}

// Walked with For Each only.
Object* NewStoryRanges(Document document) {
  return NewObject(
      "StoryRanges", {}, [](auto&, bool, auto&, VARIANT*) {},
      [document] {
        std::vector<Object*> items;
        for (size_t i = 0; i < document->model.stories.size(); ++i) {
          items.push_back(NewStoryRange(document, i));
        }
        return items;
      });
}

Object* NewDocument(Document document) {
  return NewObject("Document", {"StoryRanges", "PrintOut", "Save", "Close"},
                   [=](auto& member, bool, auto& args, VARIANT* result) {
                     if (!document->open) throw Failure{"Das Dokument ist geschlossen"};
                     if (member == "StoryRanges") return Return(result, NewStoryRanges(document));
                     if (member == "PrintOut") {
                       return LogPrint("@print Document copies=" + args.Text(7, "Copies", "1") +
                                       " from=" + args.Text(4, "From") + " to=" +
                                       args.Text(5, "To") + "\n" + WriteDocument(document->model));
                     }
                     if (member == "Save" && !SaveDocument(document->path, document->model)) {
                       throw Failure{"Speichern misslungen"};
                     }
                     if (member == "Close") document->open = false;
                   });
}

Object* NewDocuments() {
  return NewObject("Documents", {"Open"}, [](auto&, bool, auto& args, VARIANT* result) {
    auto document = std::make_shared<OpenDocument>();
    document->path = Wide(args.Text(0, "FileName"));
    if (!LoadDocument(document->path, document->model) || document->model.stories.empty()) {
      throw Failure{"Word konnte die Datei nicht öffnen: " + args.Text(0, "FileName")};
    }
    Return(result, NewDocument(document));
  });
}

}  // namespace

Object* NewWord() {
  Log("Word.Application created");
  // Word's printer is the user's default until a run chooses another.
  auto printer = std::make_shared<std::string>("Standarddrucker");
  return NewObject(
      "Word", {"Visible", "ScreenUpdating", "WindowState", "Documents", "ActivePrinter", "Quit"},
      [printer](auto& member, bool put, auto& args, VARIANT* result) {
        if (member == "Documents") return Return(result, NewDocuments());
        if (member != "ActivePrinter") return;
        if (!put) return Return(result, *printer);
        const VARIANT& chosen = args.Put();
        if (V_VT(&chosen) != VT_BSTR) throw Failure{"Druckername erwartet"};
        *printer = Utf8(V_BSTR(&chosen), SysStringLen(V_BSTR(&chosen)));
      });
}

}  // namespace fake_office
