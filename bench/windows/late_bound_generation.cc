// The generation run of a large club through the automation server, called late-bound as a
// workbook calls it, against the same run of the library called directly in the same process:
// what crossing the boundary with the sheets costs. Prints its figures; not a test.
// clang-format off
#include <windows.h>  // first: the OLE headers build on its types
// clang-format on
#include <oleauto.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "generation_input.h"
#include "lastora/automation_values.h"
#include "lastora/class1.h"
#include "lastora/payment_table.h"

namespace lastora {
namespace {

constexpr int kRounds = 3;

// In seconds. The first round is shown on its own: the server keeps its tables' memory from one
// run to the next, so only the first run on an object pays for fresh memory.
struct Times {
  double first = -1;
  double best = -1;
};

// `prepare` runs untimed before each round; a failed round gives no times.
Times Timed(const std::function<void()>& prepare, const std::function<bool()>& run) {
  Times times;
  for (int round = 0; round < kRounds; ++round) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    if (!run()) return {};
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (round == 0) times.first = times.best = seconds;
    times.best = std::min(times.best, seconds);
  }
  return times;
}

VARIANT ByRef(VARIANT* target) {
  VARIANT reference;
  V_VT(&reference) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&reference) = target;
  return reference;
}

int Run(int32_t rows_wanted, bool dtaus_file) {
  using HResultCall = HRESULT(STDAPICALLTYPE*)();
  HMODULE dll = LoadLibraryW(LASTORA_COM_DLL);
  if (dll == nullptr) return std::puts("Lastora.dll nicht geladen"), 1;
  const auto register_server = reinterpret_cast<HResultCall>(
      reinterpret_cast<void*>(GetProcAddress(dll, "DllRegisterServer")));
  const auto unregister_server = reinterpret_cast<HResultCall>(
      reinterpret_cast<void*>(GetProcAddress(dll, "DllUnregisterServer")));
  if (register_server() != S_OK) return std::puts("Registrieren fehlgeschlagen"), 1;
  CLSID clsid{};
  IDispatch* object = nullptr;
  CLSIDFromProgID(L"Lastora.Class1", &clsid);
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                   reinterpret_cast<void**>(&object));
  if (object == nullptr) return std::puts("Lastora.Class1 nicht erzeugt"), 1;

  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "lastora-late-bound-bench";
  const std::string target = folder.string() + "\\";
  const Table payments = Payments(rows_wanted, payment_table::kColumnCount);
  VariantArray settings;
  const auto fresh_folder = [&] {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  };

  Class1 library;
  Table rows, colours;
  const Times direct = Timed(
      [&] {
        fresh_folder();
        rows = payments;
        colours = Table(rows_wanted, payment_table::kColumnCount);
        RecordToVariablen(settings, ClubSettings());
      },
      [&] {
        return library.ext_SEPA_Erzeugung(settings, rows, colours, target, dtaus_file) == "ok";
      });

  LPOLESTR name = const_cast<LPOLESTR>(L"ext_SEPA_Erzeugung");
  DISPID id = DISPID_UNKNOWN;
  object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  VARIANT sheet_settings, sheet_rows, sheet_colours, path, dtaus, result;
  for (VARIANT* v : {&sheet_settings, &sheet_rows, &sheet_colours, &path, &dtaus, &result}) {
    VariantInit(v);
  }
  V_VT(&path) = VT_BSTR;
  V_BSTR(&path) = automation::ToBstr(target);
  V_VT(&dtaus) = VT_BOOL;
  V_BOOL(&dtaus) = dtaus_file ? VARIANT_TRUE : VARIANT_FALSE;
  const Times late_bound = Timed(
      [&] {
        fresh_folder();
        for (VARIANT* v : {&sheet_settings, &sheet_rows, &sheet_colours, &result}) VariantClear(v);
        VariantArray cells;
        RecordToVariablen(cells, ClubSettings());
        V_VT(&sheet_settings) = VT_ARRAY | VT_VARIANT;
        V_ARRAY(&sheet_settings) = automation::NewSafeArray(cells);
        V_VT(&sheet_rows) = VT_ARRAY | VT_VARIANT;
        V_ARRAY(&sheet_rows) = automation::NewSafeArray(payments);
        V_VT(&sheet_colours) = VT_ARRAY | VT_VARIANT;
        V_ARRAY(&sheet_colours) =
            automation::NewSafeArray(Table(rows_wanted, payment_table::kColumnCount));
      },
      [&] {
        // Arguments in reverse order, as IDispatch takes them.
        VARIANT args[5] = {dtaus, path, ByRef(&sheet_colours), ByRef(&sheet_rows),
                           ByRef(&sheet_settings)};
        DISPPARAMS params{args, nullptr, 5, 0};
        return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                              nullptr, nullptr) == S_OK &&
               V_VT(&result) == VT_BSTR && std::wstring(V_BSTR(&result)) == L"ok";
      });
  for (VARIANT* v : {&sheet_settings, &sheet_rows, &sheet_colours, &path, &result}) {
    VariantClear(v);
  }
  object->Release();
  unregister_server();
  std::filesystem::remove_all(folder);
  if (direct.best < 0 || late_bound.best < 0) return std::puts("Erzeugung nicht ok"), 1;
  std::printf("ext_SEPA_Erzeugung (%s), %d Zeilen x %d Spalten, bester von %d Laeufen\n",
              dtaus_file ? "DTAUS" : "SEPA", rows_wanted, payment_table::kColumnCount, kRounds);
  std::printf("  Bibliothek direkt:    %.3f s (erster Lauf %.3f s)\n", direct.best, direct.first);
  std::printf("  spaet gebunden (COM): %.3f s (erster Lauf %.3f s)\n", late_bound.best,
              late_bound.first);
  std::printf("  Verhaeltnis COM/direkt: %.2f (erster Lauf %.2f)\n", late_bound.best / direct.best,
              late_bound.first / direct.first);
  return 0;
}

}  // namespace
}  // namespace lastora

// Usage: lastora_com_bench [rows [dtaus]]: 100,000 rows and SEPA unless given. Under Wine the SEPA
// run's time is mostly Wine's MSXML checking the written document, which grows faster than the
// document; the DTAUS run writes no XML and shows what the boundary itself costs.
int main(int argc, char** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int status = lastora::Run(argc > 1 ? std::atoi(argv[1]) : 100000,
                                  argc > 2 && std::string(argv[2]) == "dtaus");
  CoUninitialize();
  return status;
}
