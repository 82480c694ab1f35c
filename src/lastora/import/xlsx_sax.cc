#include "import/xlsx_sax.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <charconv>
#include <climits>
#include <exception>
#include <memory>

#include "core/cell_reference.h"
#include "import/sheet_grid.h"
#include "import/workbook_reader.h"
#include "platform/libxml2/thread_errors.h"

namespace lastora::detail {
namespace {

// Element names are compared once per cell or more; most are one or two letters.
bool Is(const xmlChar* name, const char* wanted) {
  const auto* n = reinterpret_cast<const char*>(name);
  while (*n != '\0' && *n == *wanted) {
    ++n;
    ++wanted;
  }
  return *n == *wanted;
}

// SAX2 hands attributes as five pointers each: local name, prefix, URI, value start, value end.
// Calls f(letter, value) for the attributes with one-letter names, the only ones a sheet's rows
// and cells carry that matter here.
template <typename F>
void ForEachShortAttribute(const xmlChar** attributes, int count, F&& f) {
  for (int i = 0; i < count; ++i) {
    const xmlChar** a = attributes + 5 * i;
    if (a[0][0] == '\0' || a[0][1] != '\0') continue;
    f(static_cast<char>(a[0][0]),
      std::string_view(reinterpret_cast<const char*>(a[3]), static_cast<size_t>(a[4] - a[3])));
  }
}

// Cells carry one of a handful of types: naming the constant spares a copy per cell.
std::string_view CellType(std::string_view written, std::string& unknown) {
  static constexpr std::string_view kKnown[] = {"s", "n", "str", "b", "inlineStr", "e", "d"};
  for (const std::string_view known : kKnown) {
    if (written == known) return known;
  }
  unknown = written;
  return unknown;
}

int32_t StyleIndex(std::string_view written) {
  int32_t index = -1;
  const auto [end, error] = std::from_chars(written.data(), written.data() + written.size(), index);
  return error == std::errc() && index >= 0 ? index : -1;
}

// Runs a SAX2 parse over the bytes. Callbacks must not throw through the C parser: a handler
// stores its failure in `failure` and stops the parser, and it is thrown here afterwards.
struct SaxRun {
  xmlParserCtxtPtr context = nullptr;
  std::exception_ptr failure;

  void Fail(std::exception_ptr error) {
    if (!failure) failure = std::move(error);
    xmlStopParser(context);
  }
};

void IgnoreError(void*, xmlErrorPtr) {}

struct ContextFree {
  void operator()(xmlParserCtxtPtr context) const { xmlFreeParserCtxt(context); }
};

template <typename State>
void RunSax(std::string_view bytes, const std::string& part, const xmlSAXHandler& handler,
            State& state) {
  if (bytes.size() > static_cast<size_t>(INT_MAX)) ThrowUnreadable(part, "zu groß");
  std::unique_ptr<xmlParserCtxt, ContextFree> context(
      xmlCreateMemoryParserCtxt(bytes.data(), static_cast<int>(bytes.size())));
  if (!context) ThrowUnreadable(part, "fehlerhaftes XML");
  // The context owns its handler block; ours replaces the default one in place.
  *context->sax = handler;
  context->sax->initialized = XML_SAX2_MAGIC;
  context->sax->serror = IgnoreError;
  context->userData = &state;
  xmlCtxtUseOptions(context.get(), XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  state.run.context = context.get();
  const ThreadErrors quiet;
  xmlParseDocument(context.get());
  if (state.run.failure) std::rethrow_exception(state.run.failure);
  if (context->wellFormed == 0) ThrowUnreadable(part, "fehlerhaftes XML");
}

struct SheetState {
  SaxRun run;
  const std::string* part = nullptr;
  const std::function<void(const RawCell&)>* on_cell = nullptr;
  int32_t row = 0;
  int32_t column = 0;
  std::string_view type;
  std::string unknown_type;
  int32_t style = -1;
  std::string value, inline_text;
  bool in_value = false, in_inline = false, in_text = false, in_phonetic = false;
};

void SheetStart(void* user, const xmlChar* local_name, const xmlChar*, const xmlChar*, int,
                const xmlChar**, int attribute_count, int, const xmlChar** attributes) {
  auto& s = *static_cast<SheetState*>(user);
  if (Is(local_name, "c")) {
    std::string_view ref;
    s.type = {};
    s.style = -1;
    ForEachShortAttribute(attributes, attribute_count, [&](char letter, std::string_view value) {
      if (letter == 'r') ref = value;
      if (letter == 't') s.type = CellType(value, s.unknown_type);
      if (letter == 's') s.style = StyleIndex(value);
    });
    s.value.clear();
    s.inline_text.clear();
    int32_t row = s.row, column = s.column + 1;
    if (!ref.empty() && !ParseCellReference(ref, row, column)) {
      s.run.Fail(std::make_exception_ptr(UnreadableError(*s.part, "Zelle " + std::string(ref))));
      return;
    }
    s.row = row;
    s.column = column;
  } else if (Is(local_name, "v")) {
    s.in_value = true;
  } else if (Is(local_name, "is")) {
    s.in_inline = true;
  } else if (Is(local_name, "t")) {
    s.in_text = true;
  } else if (Is(local_name, "rPh")) {
    s.in_phonetic = true;
  } else if (Is(local_name, "row")) {
    std::string_view r;
    ForEachShortAttribute(attributes, attribute_count, [&](char letter, std::string_view value) {
      if (letter == 'r') r = value;
    });
    int32_t number = s.row + 1;
    if (!r.empty()) std::from_chars(r.data(), r.data() + r.size(), number);
    if (number <= s.row) {
      s.run.Fail(std::make_exception_ptr(UnreadableError(*s.part, "Zeilenfolge")));
      return;
    }
    s.row = number;
    s.column = 0;
  }
}

void SheetEnd(void* user, const xmlChar* local_name, const xmlChar*, const xmlChar*) {
  auto& s = *static_cast<SheetState*>(user);
  if (Is(local_name, "c")) {
    try {
      (*s.on_cell)(RawCell{s.row, s.column, s.type, s.style, s.value, s.inline_text});
    } catch (...) {
      s.run.Fail(std::current_exception());
    }
  } else if (Is(local_name, "v")) {
    s.in_value = false;
  } else if (Is(local_name, "is")) {
    s.in_inline = false;
  } else if (Is(local_name, "t")) {
    s.in_text = false;
  } else if (Is(local_name, "rPh")) {
    s.in_phonetic = false;
  }
}

void SheetCharacters(void* user, const xmlChar* chars, int length) {
  auto& s = *static_cast<SheetState*>(user);
  const std::string_view piece(reinterpret_cast<const char*>(chars), static_cast<size_t>(length));
  if (s.in_value) {
    s.value.append(piece);
  } else if (s.in_inline && s.in_text && !s.in_phonetic) {
    s.inline_text.append(piece);
  }
}

struct SharedState {
  SaxRun run;
  std::vector<std::string> strings;
  std::string current;
  bool in_text = false, in_phonetic = false;
};

void SharedStart(void* user, const xmlChar* local_name, const xmlChar*, const xmlChar*, int,
                 const xmlChar**, int, int, const xmlChar**) {
  auto& s = *static_cast<SharedState*>(user);
  if (Is(local_name, "si")) s.current.clear();  // also after a move
  if (Is(local_name, "t")) s.in_text = true;
  if (Is(local_name, "rPh")) s.in_phonetic = true;
}

void SharedEnd(void* user, const xmlChar* local_name, const xmlChar*, const xmlChar*) {
  auto& s = *static_cast<SharedState*>(user);
  if (Is(local_name, "si")) s.strings.push_back(std::move(s.current));
  if (Is(local_name, "t")) s.in_text = false;
  if (Is(local_name, "rPh")) s.in_phonetic = false;
}

void SharedCharacters(void* user, const xmlChar* chars, int length) {
  auto& s = *static_cast<SharedState*>(user);
  if (s.in_text && !s.in_phonetic) {
    s.current.append(reinterpret_cast<const char*>(chars), static_cast<size_t>(length));
  }
}

}  // namespace

void ParseSheetCells(std::string_view bytes, const std::string& part,
                     const std::function<void(const RawCell&)>& on_cell) {
  SheetState state;
  state.part = &part;
  state.on_cell = &on_cell;
  xmlSAXHandler handler{};
  handler.startElementNs = SheetStart;
  handler.endElementNs = SheetEnd;
  handler.characters = SheetCharacters;
  handler.cdataBlock = SheetCharacters;
  RunSax(bytes, part, handler, state);
}

std::vector<std::string> ParseSharedStrings(std::string_view bytes, const std::string& part) {
  SharedState state;
  xmlSAXHandler handler{};
  handler.startElementNs = SharedStart;
  handler.endElementNs = SharedEnd;
  handler.characters = SharedCharacters;
  handler.cdataBlock = SharedCharacters;
  RunSax(bytes, part, handler, state);
  return std::move(state.strings);
}

}  // namespace lastora::detail
