# Finds libxlsxwriter: XlsxWriter_FOUND and the imported target XlsxWriter::XlsxWriter.
include("${CMAKE_CURRENT_LIST_DIR}/lastoraFindLibrary.cmake")
lastora_find_library(XlsxWriter xlsxwriter xlsxwriter.h xlsxwriter)
