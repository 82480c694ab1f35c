# Finds FreeXL: FreeXL_FOUND and the imported target FreeXL::FreeXL.
include("${CMAKE_CURRENT_LIST_DIR}/lastoraFindLibrary.cmake")
lastora_find_library(FreeXL freexl freexl.h freexl)
