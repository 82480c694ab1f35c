// The word processor: documents of stories and shapes.
#include "objects.h"

namespace fake_office {
namespace {

struct OpenDocument {
  DocumentModel model;
  std::wstring path;
  bool open = true;
};

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

class Find : public Object {
 public:
  Find(std::shared_ptr<OpenDocument> document, size_t story)
      : Object("Find", {"Execute"}), document_(std::move(document)), story_(story) {}

 protected:
  void Call(const std::string&, bool, const Args& args, VARIANT* result) override {
    std::string& text = document_->model.stories[story_];
    const std::string find = Unescape(args.Text(0, "FindText"), "");
    if (find.empty()) throw Failure{"Suchtext fehlt"};
    if (args.Number(10, "Replace", 0) != 2) throw Failure{"Nur Alle ersetzen ist nachgebildet"};
    const std::string replacement = Unescape(args.Text(9, "ReplaceWith"), find);
    bool found = false;
    for (size_t at = text.find(find); at != std::string::npos;
         at = text.find(find, at + replacement.size())) {
      found = true;
      text.replace(at, find.size(), replacement);
    }
    ReturnBool(result, found);
  }

 private:
  std::shared_ptr<OpenDocument> document_;
  size_t story_;
};

class StoryRange : public Object {
 public:
  StoryRange(std::shared_ptr<OpenDocument> document, size_t story)
      : Object("StoryRange", {"Text", "Find"}), document_(std::move(document)), story_(story) {}

 protected:
  void Call(const std::string& member, bool put, const Args&, VARIANT* result) override {
    if (put) throw Failure{"Text wird hier nur gelesen"};
    if (member == "Text") return Return(result, document_->model.stories[story_]);
    Return(result, new Find(document_, story_));
  }

 private:
  std::shared_ptr<OpenDocument> document_;
  size_t story_;
};

// Walked with For Each only.
class StoryRanges : public Object {
 public:
  explicit StoryRanges(std::shared_ptr<OpenDocument> document)
      : Object("StoryRanges", {}), document_(std::move(document)) {}

 protected:
  void Call(const std::string&, bool, const Args&, VARIANT*) override {}
  std::vector<Object*> Items() override {
    std::vector<Object*> items;
    for (size_t i = 0; i < document_->model.stories.size(); ++i) {
      items.push_back(new StoryRange(document_, i));
    }
    return items;
  }

 private:
  std::shared_ptr<OpenDocument> document_;
};

class Document : public Object {
 public:
  explicit Document(std::shared_ptr<OpenDocument> document)
      : Object("Document", {"StoryRanges", "Shapes", "PrintOut", "Save", "Close"}),
        document_(std::move(document)) {}

 protected:
  void Call(const std::string& member, bool, const Args& args, VARIANT* result) override {
    if (!document_->open) throw Failure{"Das Dokument ist geschlossen"};
    if (member == "StoryRanges") return Return(result, new StoryRanges(document_));
    if (member == "Shapes") return Return(result, NewShapes(document_->model.shapes));
    if (member == "PrintOut") {
      return LogPrint("@print Document copies=" + args.Text(7, "Copies", "1") +
                      " from=" + args.Text(4, "From") + " to=" + args.Text(5, "To") + "\n" +
                      WriteDocument(document_->model));
    }
    if (member == "Save" || args.Number(0, "SaveChanges", 0) != 0) {
      if (!SaveDocument(document_->path, document_->model)) throw Failure{"Speichern misslungen"};
    }
    if (member == "Close") document_->open = false;
  }

 private:
  std::shared_ptr<OpenDocument> document_;
};

class Documents : public Object {
 public:
  Documents() : Object("Documents", {"Open"}) {}

 protected:
  void Call(const std::string&, bool, const Args& args, VARIANT* result) override {
    auto document = std::make_shared<OpenDocument>();
    document->path = Wide(args.Text(0, "FileName"));
    if (!LoadDocument(document->path, document->model) || document->model.stories.empty()) {
      throw Failure{"Word konnte die Datei nicht öffnen: " + args.Text(0, "FileName")};
    }
    Return(result, new Document(document));
  }
};

class Word : public Object {
 public:
  Word() : Object("Word", {"Visible", "ScreenUpdating", "WindowState", "Documents", "Quit"}) {
    Log("Word.Application created");
  }

 protected:
  void Call(const std::string& member, bool, const Args&, VARIANT* result) override {
    if (member == "Documents") Return(result, new Documents());
  }
};

}  // namespace

Object* NewWord() { return new Word(); }

}  // namespace fake_office
