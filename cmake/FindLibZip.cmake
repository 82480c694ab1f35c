# Finds libzip: LibZip_FOUND and the imported target LibZip::LibZip.
include("${CMAKE_CURRENT_LIST_DIR}/lastoraFindLibrary.cmake")
lastora_find_library(LibZip libzip zip.h zip)
