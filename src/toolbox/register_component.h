#ifndef LASTORA_TOOLBOX_REGISTER_COMPONENT_H_
#define LASTORA_TOOLBOX_REGISTER_COMPONENT_H_

#include <windows.h>

#include <string>

namespace lastora::toolbox {

// Starts regsvr32 on the file (empty: the component beside this program) and returns at once;
// the tool reports its own result. A missing file is reported here and nothing is started.
void RegisterComponent(HWND owner, std::wstring file, bool unregister, bool hide_results,
                       bool as_admin);

}  // namespace lastora::toolbox

#endif  // LASTORA_TOOLBOX_REGISTER_COMPONENT_H_
