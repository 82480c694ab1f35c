#include "lastora/automation_values.h"
#include "lastora/variant.h"
#include "platform/win32/dispatch_call.h"
#include "platform/win32/win32_adapters.h"

namespace lastora {

XmlParser::Result MsxmlParser::LoadFile(const std::string& path) {
  win32::ComApartment apartment;
  // MSXML 6.0's DOMDocument, by class id: the version-free ProgIDs may name an older parser.
  win32::AutoObject document = win32::AutoObject::Create(L"{88D96A05-F192-11D4-A65F-0040963251E5}");
  document.Put(L"async", win32::Value::Bool(false));
  document.Put(L"validateOnParse", win32::Value::Bool(false));
  document.Put(L"resolveExternals", win32::Value::Bool(false));
  const std::wstring wide_path = automation::Wide(path);
  win32::Value loaded = document.Call(L"load", {win32::Value(wide_path.c_str())});
  Result result;
  result.ok = automation::FromVariant(loaded.ref()).AsBool();
  if (!result.ok) {
    win32::AutoObject error = document.GetObject(L"parseError");
    result.reason = CStr(automation::FromVariant(error.Get(L"reason").ref()));
    result.line = automation::FromVariant(error.Get(L"line").ref()).AsLong();
  }
  return result;
}

}  // namespace lastora
