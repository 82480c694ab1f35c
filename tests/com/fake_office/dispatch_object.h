// A hand-made IDispatch: members by name, every call logged before it is carried out; and the
// programs' object kinds, each made with one reference that the caller takes over.
#ifndef LASTORA_TESTS_COM_FAKE_OFFICE_DISPATCH_OBJECT_H_
#define LASTORA_TESTS_COM_FAKE_OFFICE_DISPATCH_OBJECT_H_

// clang-format off
#include <windows.h>  // first: the OLE headers build on its types
// clang-format on
#include <oleauto.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "counted.h"

namespace fake_office {

// The programs' documents: what a test reads back after a run (see fake_office.h).
struct SheetModel {
  std::string name;
  std::map<std::pair<long, long>, std::string> cells;  // (row, column), never empty texts
};

struct DocumentModel {
  std::vector<std::string> stories;                 // Word: paragraphs joined by CR
  std::vector<std::shared_ptr<SheetModel>> sheets;  // Excel
  double created = 0;  // the "Creation Date" property as a date serial; 0: never set
};

// False when the file cannot be read.
bool LoadDocument(const std::wstring& path, DocumentModel& model);
std::string WriteDocument(const DocumentModel& model);
bool SaveDocument(const std::wstring& path, const DocumentModel& model);

extern std::atomic<long> live_objects;

std::string Utf8(const wchar_t* text, size_t length);
std::wstring Wide(const std::string& text);

// A call that fails as a program's member fails: with a description for the caller.
struct Failure {
  std::string description;
  // The programs' own "command failed" number, which Word and Excel report in the same way.
  int number = 1004;
};

class Object;

// The arguments of one call, by position or by name, with by-reference ones followed.
class Args {
 public:
  Args(const DISPPARAMS& params, const std::vector<std::wstring>& names);
  Args(const Args&) = delete;
  ~Args();

  bool Has(size_t position, const char* name) const { return Find(position, name) != nullptr; }
  // The argument as passed (by-reference ones followed), or null when it was left out.
  const VARIANT* Find(size_t position, const char* name) const;
  std::string Text(size_t position, const char* name, const std::string& fallback = "") const;
  double Number(size_t position, const char* name, double fallback = 0) const;
  Object* Target(size_t position, const char* name) const;
  // The value of a property write.
  const VARIANT& Put() const;
  std::string Describe() const;

 private:
  std::vector<VARIANT> positional_;  // in call order
  std::vector<std::pair<std::string, VARIANT>> named_;
  VARIANT put_;
};

class Object : public Counted<IDispatch> {
 public:
  Object(const char* kind, std::initializer_list<const char*> members);
  Object(const Object&) = delete;
  virtual ~Object();

  const std::string& kind() const { return kind_; }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) override;

 protected:
  // `member` as the member list spells it; `put` for a property write.
  virtual void Call(const std::string& member, bool put, const Args& args, VARIANT* result) = 0;
  // The members a For Each walks; none unless the object is a collection.
  virtual std::vector<Object*> Items() { throw Failure{"Objekt ist keine Auflistung"}; }

 private:
  std::string kind_;
  std::vector<std::string> members_;
};

// What a call of a simple object does: `member` as the member list spells it, `put` for a
// property write.
using Handler =
    std::function<void(const std::string& member, bool put, const Args& args, VARIANT* result)>;
// An object of `kind` whose calls `handler` carries out; `items`, where given, are what a For Each
// walks.
Object* NewObject(const char* kind, std::initializer_list<const char*> members, Handler handler,
                  std::function<std::vector<Object*>()> items = nullptr);

// Result helpers: each hands its value to the caller, who owns it.
void Return(VARIANT* result, Object* object);  // takes the object's only reference
void Return(VARIANT* result, const std::string& text);
void Return(VARIANT* result, double number);
void ReturnBool(VARIANT* result, bool value);
void ReturnNothing(VARIANT* result);

// False when the value is no number and cannot be read as one.
bool AsNumber(const VARIANT& value, double* number);

void Log(const std::string& line);
// Appends to the print record beside the log.
void LogPrint(const std::string& text);

Object* NewWord();
Object* NewExcel();

}  // namespace fake_office

#endif  // LASTORA_TESTS_COM_FAKE_OFFICE_DISPATCH_OBJECT_H_
