// Umbrella header of the Lastora component.
#ifndef LASTORA_LASTORA_H_
#define LASTORA_LASTORA_H_

#include "lastora/class1.h"
#include "lastora/platform.h"
#include "lastora/settings.h"
#include "lastora/spreadsheet_app.h"
#include "lastora/table.h"
#include "lastora/variant.h"
#include "lastora/vb_error.h"

#endif  // LASTORA_LASTORA_H_
