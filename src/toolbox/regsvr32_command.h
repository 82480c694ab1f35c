#ifndef LASTORA_TOOLBOX_REGSVR32_COMMAND_H_
#define LASTORA_TOOLBOX_REGSVR32_COMMAND_H_

#include <functional>
#include <string>
#include <string_view>

namespace lastora::toolbox {

// How regsvr32 is started: directly as a minimised program, or elevated through "cmd".
struct Regsvr32Command {
  bool elevated = false;
  // Direct start: the whole command line. Elevated start: the parameters handed to "cmd".
  std::wstring text;

  bool operator==(const Regsvr32Command&) const = default;
};

// The command for `file` (unquoted) with the tool taken from `tool_folder`.
Regsvr32Command BuildRegsvr32Command(std::wstring_view tool_folder, std::wstring_view file,
                                     bool unregister, bool hide_results, bool as_admin);

// The folder regsvr32 is taken from: on a 64-bit system every "\system32" (exact case) of the
// system folder becomes "\syswow64", but only when `exists` confirms that folder.
std::wstring ChooseToolFolder(std::wstring_view system_folder, bool is_64bit_windows,
                              const std::function<bool(const std::wstring&)>& exists);

}  // namespace lastora::toolbox

#endif  // LASTORA_TOOLBOX_REGSVR32_COMMAND_H_
