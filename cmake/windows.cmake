# The Windows side of the build (MinGW-w64 cross build, see cmake/toolchains/): the COM server,
# the registration toolbox and their tests, which run under Wine. The POSIX front end, the
# benchmarks and the fuzzers have no place here.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

enable_testing()

# GoogleTest from Debian's source package, built with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)


# The library: everything but the readers and adapters that need libxml2, libzip or libfreexl,
# which have no Windows builds here; Excel and MSXML stand behind those ports on Windows.
set(LASTORA_ROOT "${CMAKE_CURRENT_LIST_DIR}/..")
file(GLOB_RECURSE LASTORA_SOURCES CONFIGURE_DEPENDS "${LASTORA_ROOT}/src/lastora/*.cc")
list(FILTER LASTORA_SOURCES EXCLUDE REGEX "/platform/(posix|libxml2)/")
# The workbook layer (libzip, SQLite) serves the POSIX program; on Windows the workbook
# itself plays that part.
list(FILTER LASTORA_SOURCES EXCLUDE REGEX "/workbook/")
list(FILTER LASTORA_SOURCES EXCLUDE REGEX
     "/import/(xls_reader|xlsx_reader|xlsx_sax|xml_stream|zip_archive|ods_reader|reader_spreadsheet_app)\\.cc$")
add_library(lastora STATIC ${LASTORA_SOURCES})
add_library(lastora::lastora ALIAS lastora)
target_include_directories(lastora PUBLIC "${LASTORA_ROOT}/include"
                                   PRIVATE "${LASTORA_ROOT}/src/lastora")
target_compile_options(lastora PRIVATE -Wall -Wextra)
# UNICODE: the wide Windows APIs are the only ones this code calls.
target_compile_definitions(lastora PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(lastora PUBLIC oleaut32 ole32 uuid user32 advapi32)

# The library's own tests that need none of the POSIX readers, run under Wine.
set(LASTORA_WIN_TEST_DIRS core accounts component processing generation platform/win32)
set(LASTORA_WIN_TEST_SOURCES
    "${LASTORA_ROOT}/tests/support/temp_dir.cc" "${LASTORA_ROOT}/tests/support/scoped_env.cc"
    "${LASTORA_ROOT}/tests/support/test_platform.cc"
    "${LASTORA_ROOT}/tests/support/processing_fixture.cc")
foreach(dir IN LISTS LASTORA_WIN_TEST_DIRS)
  file(GLOB found CONFIGURE_DEPENDS "${LASTORA_ROOT}/tests/${dir}/*_test.cc")
  list(APPEND LASTORA_WIN_TEST_SOURCES ${found})
endforeach()
# The file tests limit the file size through POSIX resource limits; the run tests below validate
# the written documents against the schemas with libxml2.
list(FILTER LASTORA_WIN_TEST_SOURCES EXCLUDE REGEX
     "/(core/files_test|processing/collection_property_test|generation/(generation_run|golden_files)_test)\\.cc$")
add_executable(lastora_tests ${LASTORA_WIN_TEST_SOURCES})
target_include_directories(lastora_tests PRIVATE "${LASTORA_ROOT}/tests" "${LASTORA_ROOT}/src/lastora")
target_compile_definitions(lastora_tests PRIVATE
  LASTORA_TESTDATA_DIR="${LASTORA_TESTDATA_DIR}"
  LASTORA_GOLDEN_DIR="${LASTORA_ROOT}/tests/generation/golden")
target_link_libraries(lastora_tests PRIVATE lastora gtest gtest_main)
# Left out under Wine: the program-path test reads /proc/self/exe, and the bank-code lookup reads
# its spreadsheet through the Excel port, which has no Excel behind it here.
add_test(NAME lastora_tests COMMAND lastora_tests
         "--gtest_filter=-GetAppPath.IsTheComponentsFolderUnlessLastoraHomeIsSet:BundesbankLookupTest.*")

foreach(part IN ITEMS src/com src/toolbox)
  if(EXISTS "${CMAKE_CURRENT_LIST_DIR}/../${part}/CMakeLists.txt")
    add_subdirectory("${CMAKE_CURRENT_LIST_DIR}/../${part}" "${CMAKE_BINARY_DIR}/${part}")
  endif()
endforeach()

# The server under Wine: registered in the test prefix, created by ProgID, called late-bound.
if(TARGET lastora_com)
  file(GLOB com_test_sources CONFIGURE_DEPENDS "${LASTORA_ROOT}/tests/com/*.cc")
  add_executable(lastora_com_tests ${com_test_sources}
    "${LASTORA_ROOT}/tests/support/cell_dump.cc" "${LASTORA_ROOT}/tests/support/club_calls.cc"
    "${LASTORA_ROOT}/tests/support/temp_dir.cc" "${LASTORA_ROOT}/tests/support/scoped_env.cc"
    # The workbook's numbering step, which the workbook layer keeps and the calls need.
    "${LASTORA_ROOT}/src/lastora/workbook/numbering.cc")
  # The tests reach the record layout through the header widl writes from the interface.
  target_include_directories(lastora_com_tests PRIVATE "${LASTORA_ROOT}/tests"
                                                       "${LASTORA_ROOT}/src/lastora"
                                                       "${CMAKE_BINARY_DIR}/src/com")
  # Wine maps the Linux root to Z:, and Windows takes "/" as a separator as well.
  get_filename_component(source_root "${LASTORA_ROOT}" ABSOLUTE)
  target_compile_definitions(lastora_com_tests PRIVATE
    LASTORA_COM_DLL=L"Z:${CMAKE_BINARY_DIR}/src/com/Lastora.dll"
    LASTORA_CLUB_CALLS_DIR="Z:${source_root}/tests/data/club_calls"
    LASTORA_EXAMPLE_CLUB_DIR="Z:${source_root}/examples/club")
  target_link_libraries(lastora_com_tests PRIVATE lastora gtest gtest_main)
  add_dependencies(lastora_com_tests lastora_com)

  # Stand-ins for Word and Excel, which the mail-merge tests register under the programs' ProgIDs:
  # they record every automation call and apply it to plain-text documents.
  file(GLOB fake_office_sources CONFIGURE_DEPENDS "${LASTORA_ROOT}/tests/com/fake_office/*.cc")
  add_library(fake_office SHARED ${fake_office_sources}
                                 "${LASTORA_ROOT}/tests/com/fake_office/fake_office.def")
  set_target_properties(fake_office PROPERTIES OUTPUT_NAME FakeOffice PREFIX "")
  target_compile_definitions(fake_office PRIVATE UNICODE _UNICODE _WIN32_WINNT=0x0601)
  target_compile_options(fake_office PRIVATE -Wall -Wextra)
  target_link_libraries(fake_office PRIVATE oleaut32 ole32 uuid advapi32)
  target_link_options(fake_office PRIVATE -Wl,--kill-at)
  target_compile_definitions(lastora_com_tests PRIVATE
    LASTORA_FAKE_OFFICE_DLL=L"Z:$<TARGET_FILE:fake_office>")
  add_dependencies(lastora_com_tests fake_office)
  add_test(NAME lastora_com_tests COMMAND lastora_com_tests)

  # The generation of a large club late-bound against the library called directly: figures, run
  # by hand (scripts/wine-run.sh build/windows-x64/lastora_com_bench.exe), not in the tests.
  add_executable(lastora_com_bench "${LASTORA_ROOT}/bench/windows/late_bound_generation.cc")
  target_include_directories(lastora_com_bench PRIVATE "${LASTORA_ROOT}/bench" "${LASTORA_ROOT}/tests")
  target_compile_definitions(lastora_com_bench PRIVATE
    LASTORA_COM_DLL=L"Z:${CMAKE_BINARY_DIR}/src/com/Lastora.dll")
  target_link_libraries(lastora_com_bench PRIVATE lastora)
  add_dependencies(lastora_com_bench lastora_com)
endif()

# The Wine runner ends with 77 where the machine cannot start a program of this bitness: such a
# test is reported skipped, not passed; and a hung Wine call ends the test, not the run.
foreach(test IN ITEMS lastora_tests lastora_com_tests)
  if(TEST ${test})
    set_tests_properties(${test} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
  endif()
endforeach()
