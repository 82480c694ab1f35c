#ifndef LASTORA_TOOLBOX_DLL_LOCATION_H_
#define LASTORA_TOOLBOX_DLL_LOCATION_H_

#include <string>
#include <string_view>

namespace lastora::toolbox {

// The program folder as the treasurer's installation knows it: `folder` with every "\DLL"
// (exact case) removed, so that a toolbox started from inside the DLL folder finds the same
// component as one started beside it.
std::wstring StripDllFolder(std::wstring_view folder);

// The folder this program was started from, after StripDllFolder.
std::wstring GetAppPath();

// Where the component lies below a program folder.
std::wstring DllPath(std::wstring_view program_folder);

}  // namespace lastora::toolbox

#endif  // LASTORA_TOOLBOX_DLL_LOCATION_H_
