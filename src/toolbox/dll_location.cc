#include "dll_location.h"

#include <windows.h>

#include <vector>

namespace lastora::toolbox {

std::wstring StripDllFolder(std::wstring_view folder) {
  constexpr std::wstring_view kDll = L"\\DLL";
  std::wstring result;
  result.reserve(folder.size());
  std::size_t start = 0;
  for (std::size_t hit = folder.find(kDll); hit != std::wstring_view::npos;
       hit = folder.find(kDll, start)) {
    result.append(folder.substr(start, hit - start));
    start = hit + kDll.size();
  }
  result.append(folder.substr(start));
  return result;
}

std::wstring GetAppPath() {
  // Paths may exceed MAX_PATH on systems with long paths enabled: grow until the name fits.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      std::wstring_view file(buffer.data(), n);
      const std::size_t slash = file.find_last_of(L'\\');
      return StripDllFolder(slash == std::wstring_view::npos ? file : file.substr(0, slash));
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring DllPath(std::wstring_view program_folder) {
  return std::wstring(program_folder) + L"\\DLL\\Lastora.dll";
}

}  // namespace lastora::toolbox
