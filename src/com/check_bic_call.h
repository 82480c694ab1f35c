// Check_BIC, the one method that takes a record, dispatched here rather than through the type
// information: not every automation runtime passes records through its type-info dispatch
// (Wine's answers E_NOTIMPL), while every caller that declares the record hands over a VT_RECORD.
#ifndef LASTORA_COM_CHECK_BIC_CALL_H_
#define LASTORA_COM_CHECK_BIC_CALL_H_

#include <oaidl.h>

#include "lastora_h.h"

namespace lastora::com {

// True when `id` names Check_BIC in the interface's type information.
bool IsCheckBic(DISPID id);

// The arguments as IDispatch::Invoke receives them (the last first); the record by value or by
// reference, the Variants by reference or by value, the trailing optional ones left out or
// missing. A wrong argument is reported as IDispatch reports it, with its position.
HRESULT InvokeCheckBic(_Class1& object, const DISPPARAMS& params, VARIANT* result,
                       UINT* bad_argument);

}  // namespace lastora::com

#endif  // LASTORA_COM_CHECK_BIC_CALL_H_
