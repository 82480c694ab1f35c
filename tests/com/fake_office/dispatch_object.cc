#include "dispatch_object.h"

#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fake_office {

std::atomic<long> live_objects{0};

namespace {

// DISPIDs are places in one table of every name ever asked for, members and argument names alike.
// The stand-ins live in the caller's apartment: one thread asks.
std::vector<std::wstring>& Names() {
  static std::vector<std::wstring> names;
  return names;
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

DISPID Intern(const std::wstring& name) {
  static std::map<std::wstring, DISPID> ids;
  std::vector<std::wstring>& names = Names();
  const auto [at, added] = ids.emplace(Lower(name), static_cast<DISPID>(names.size() + 1));
  if (added) names.push_back(name);
  return at->second;
}

std::wstring Environment(const wchar_t* name) {
  wchar_t value[1024];
  const DWORD length = GetEnvironmentVariableW(name, value, 1024);
  return length == 0 || length >= 1024 ? L"" : std::wstring(value, length);
}

void Append(const std::wstring& path, const std::string& text) {
  if (path.empty()) return;
  std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::app);
  out << text;
}

std::string Show(const VARIANT& value) {
  switch (V_VT(&value)) {
    case VT_EMPTY:
      return "";
    case VT_BSTR:
      return Utf8(V_BSTR(&value), SysStringLen(V_BSTR(&value)));
    case VT_BOOL:
      return V_BOOL(&value) ? "True" : "False";
    case VT_ERROR:
      return "<missing>";
    case VT_DISPATCH: {
      auto* object = dynamic_cast<Object*>(V_DISPATCH(&value));
      return "<" + (object != nullptr ? object->kind() : std::string("?")) + ">";
    }
    default: {
      double number = 0;
      if (!AsNumber(value, &number)) return "<?>";
      char text[32];
      std::snprintf(text, sizeof text, "%g", number);
      return text;
    }
  }
}

class Enumerator final : public Counted<IEnumVARIANT> {
 public:
  explicit Enumerator(std::vector<Object*> items)
      : Counted(IID_IEnumVARIANT), items_(std::move(items)) {}
  ~Enumerator() override {
    for (size_t i = next_; i < items_.size(); ++i) items_[i]->Release();
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* out, ULONG* fetched) override {
    ULONG given = 0;
    while (given < wanted && next_ < items_.size()) Return(&out[given++], items_[next_++]);
    if (fetched != nullptr) *fetched = given;
    return given == wanted ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

 private:
  std::vector<Object*> items_;  // one reference each until handed out
  size_t next_ = 0;
};

class HandledObject final : public Object {
 public:
  HandledObject(const char* kind, std::initializer_list<const char*> members, Handler handler,
                std::function<std::vector<Object*>()> items)
      : Object(kind, members), handler_(std::move(handler)), items_(std::move(items)) {}

 protected:
  void Call(const std::string& member, bool put, const Args& args, VARIANT* result) override {
    handler_(member, put, args, result);
  }
  std::vector<Object*> Items() override { return items_ ? items_() : Object::Items(); }

 private:
  Handler handler_;
  std::function<std::vector<Object*>()> items_;
};

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

Object* NewObject(const char* kind, std::initializer_list<const char*> members, Handler handler,
                  std::function<std::vector<Object*>()> items) {
  return new HandledObject(kind, members, std::move(handler), std::move(items));
}

std::string Utf8(const wchar_t* text, size_t length) {
  if (length == 0) return "";
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), size, nullptr,
                      nullptr);
  return out;
}

std::wstring Wide(const std::string& text) {
  if (text.empty()) return L"";
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

Args::Args(const DISPPARAMS& params, const std::vector<std::wstring>& names) {
  VariantInit(&put_);
  // DISPPARAMS holds the named arguments first, then the positional ones last to first.
  for (UINT i = 0; i < params.cArgs; ++i) {
    VARIANT copy;
    VariantInit(&copy);
    VariantCopyInd(&copy, &params.rgvarg[i]);
    if (i < params.cNamedArgs) {
      const DISPID id = params.rgdispidNamedArgs[i];
      if (id == DISPID_PROPERTYPUT) {
        put_ = copy;
      } else {
        const size_t at = static_cast<size_t>(id - 1);
        named_.emplace(named_.begin(),
                       at < names.size() ? Utf8(names[at].c_str(), names[at].size()) : "?", copy);
      }
    } else {
      positional_.insert(positional_.begin(), copy);
    }
  }
}

Args::~Args() {
  for (VARIANT& value : positional_) VariantClear(&value);
  for (auto& [name, value] : named_) VariantClear(&value);
  VariantClear(&put_);
}

const VARIANT* Args::Find(size_t position, const char* name) const {
  for (const auto& [given, value] : named_) {
    if (_stricmp(given.c_str(), name) == 0) return &value;
  }
  if (position < positional_.size() && V_VT(&positional_[position]) != VT_ERROR) {
    return &positional_[position];
  }
  return nullptr;
}

std::string Args::Text(size_t position, const char* name, const std::string& fallback) const {
  const VARIANT* value = Find(position, name);
  return value == nullptr ? fallback : Show(*value);
}

double Args::Number(size_t position, const char* name, double fallback) const {
  const VARIANT* value = Find(position, name);
  if (value == nullptr) return fallback;
  double number = 0;
  if (!AsNumber(*value, &number)) throw Failure{std::string("Typen unverträglich: ") + name};
  return number;
}

Object* Args::Target(size_t position, const char* name) const {
  const VARIANT* value = Find(position, name);
  Object* object = value == nullptr || V_VT(value) != VT_DISPATCH
                       ? nullptr
                       : dynamic_cast<Object*>(V_DISPATCH(value));
  if (object == nullptr) throw Failure{std::string("Objekt erforderlich: ") + name};
  return object;
}

const VARIANT& Args::Put() const { return put_; }

std::string Args::Describe() const {
  std::string text;
  for (const VARIANT& value : positional_) text += (text.empty() ? "" : ", ") + Show(value);
  for (const auto& [name, value] : named_) {
    text += (text.empty() ? "" : ", ") + name + ":=" + Show(value);
  }
  return text;
}

Object::Object(const char* kind, std::initializer_list<const char*> members)
    : Counted(IID_IDispatch), kind_(kind), members_(members.begin(), members.end()) {
  ++live_objects;
}

Object::~Object() { --live_objects; }

HRESULT Object::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

// A member the object does not list is unknown, as it is to the real program: a call the
// contract does not name fails the run instead of passing unseen.
HRESULT Object::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  HRESULT outcome = S_OK;
  ids[0] = DISPID_UNKNOWN;
  for (const std::string& member : members_) {
    if (_wcsicmp(Wide(member).c_str(), names[0]) == 0) ids[0] = Intern(Wide(member));
  }
  if (ids[0] == DISPID_UNKNOWN) outcome = DISP_E_UNKNOWNNAME;
  for (UINT i = 1; i < count; ++i) ids[i] = Intern(names[i]);
  return outcome;
}

HRESULT Object::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                       EXCEPINFO* exception, UINT*) {
  VARIANT ignored;
  VariantInit(&ignored);
  if (result == nullptr) result = &ignored;
  VariantInit(result);
  try {
    if (id == DISPID_NEWENUM) {
      V_VT(result) = VT_UNKNOWN;
      V_UNKNOWN(result) = new Enumerator(Items());
      return S_OK;
    }
    const std::vector<std::wstring>& names = Names();
    if (id < 1 || static_cast<size_t>(id) > names.size()) return DISP_E_MEMBERNOTFOUND;
    const std::wstring& wide_member = names[static_cast<size_t>(id - 1)];
    const std::string member = Utf8(wide_member.c_str(), wide_member.size());
    const Args args(*params, names);
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    const std::string call = kind_ + "." + member;
    Log(put ? call + " := " + Show(args.Put()) : call + "(" + args.Describe() + ")");
    if (Environment(L"FAKE_OFFICE_FAIL") == Wide(call)) {
      throw Failure{"Der Test lässt " + call + " scheitern"};
    }
    Call(member, put, args, result);
    VariantClear(&ignored);
    return S_OK;
  } catch (const Failure& failure) {
    VariantClear(result);
    if (exception != nullptr) {
      *exception = EXCEPINFO{};
      exception->bstrSource = SysAllocString(Wide(kind_).c_str());
      exception->bstrDescription = SysAllocString(Wide(failure.description).c_str());
      exception->scode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, failure.number);
    }
    return DISP_E_EXCEPTION;
  }
}

void Return(VARIANT* result, Object* object) {
  V_VT(result) = VT_DISPATCH;
  V_DISPATCH(result) = object;
}

void Return(VARIANT* result, const std::string& text) {
  V_VT(result) = VT_BSTR;
  V_BSTR(result) = SysAllocString(Wide(text).c_str());
}

void Return(VARIANT* result, double number) {
  V_VT(result) = VT_R8;
  V_R8(result) = number;
}

void ReturnBool(VARIANT* result, bool value) {
  V_VT(result) = VT_BOOL;
  V_BOOL(result) = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void ReturnNothing(VARIANT* result) {
  V_VT(result) = VT_DISPATCH;
  V_DISPATCH(result) = nullptr;
}

bool AsNumber(const VARIANT& value, double* number) {
  VARIANT converted;
  VariantInit(&converted);
  if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(&value), 0, VT_R8))) return false;
  *number = V_R8(&converted);
  return true;
}

void Log(const std::string& line) { Append(Environment(L"FAKE_OFFICE_LOG"), line + "\n"); }

void LogPrint(const std::string& text) {
  const std::wstring log = Environment(L"FAKE_OFFICE_LOG");
  if (!log.empty()) Append(log + L".druck", text);
}

}  // namespace fake_office
