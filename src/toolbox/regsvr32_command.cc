#include "regsvr32_command.h"

namespace lastora::toolbox {
namespace {

std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to) {
  std::wstring result;
  std::size_t start = 0;
  for (std::size_t hit = text.find(from); hit != std::wstring_view::npos;
       hit = text.find(from, start)) {
    result.append(text.substr(start, hit - start)).append(to);
    start = hit + from.size();
  }
  result.append(text.substr(start));
  return result;
}

}  // namespace

Regsvr32Command BuildRegsvr32Command(std::wstring_view tool_folder, std::wstring_view file,
                                     bool unregister, bool hide_results, bool as_admin) {
  // An elevated registration is always silent: the hidden "cmd" window could not show the
  // tool's answer anyway. An elevated unregistration keeps the caller's choice.
  const bool silent = hide_results || (as_admin && !unregister);
  std::wstring switches = silent ? L" /s" : L"";
  if (unregister) switches += L" /u";
  std::wstring line =
      std::wstring(tool_folder) + L"\\regsvr32" + switches + L" \"" + std::wstring(file) + L"\"";
  if (as_admin) return {true, L"/c " + line};
  return {false, line};
}

std::wstring ChooseToolFolder(std::wstring_view system_folder, bool is_64bit_windows,
                              const std::function<bool(const std::wstring&)>& exists) {
  if (!is_64bit_windows) return std::wstring(system_folder);
  std::wstring redirected = ReplaceAll(system_folder, L"\\system32", L"\\syswow64");
  return exists(redirected) ? redirected : std::wstring(system_folder);
}

}  // namespace lastora::toolbox
