# Test support: GoogleTest for both builds and one helper to declare a test program.
#
# The native build uses the system's GoogleTest. The Windows build compiles
# GoogleTest from the sources Debian installs and runs every test program under
# Wine through scripts/wine-run.sh, with a Wine prefix inside the build folder.
# The checked native build compiles them too: libstdc++'s debug containers
# differ from the ones the system's library was built with.

if(CMAKE_CROSSCOMPILING OR TESSALY_CHECKED_STL)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  add_library(tessaly_gtest INTERFACE)
  target_link_libraries(tessaly_gtest INTERFACE gmock gtest_main)
endif()
if(CMAKE_CROSSCOMPILING)
  set(TESSALY_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
  set(CMAKE_CROSSCOMPILING_EMULATOR
      "${PROJECT_SOURCE_DIR}/scripts/wine-run.sh;--prefix;${TESSALY_WINEPREFIX}")
elseif(NOT TESSALY_CHECKED_STL)
  find_package(GTest REQUIRED)
  add_library(tessaly_gtest INTERFACE)
  target_link_libraries(tessaly_gtest INTERFACE GTest::gmock GTest::gtest_main)
endif()

# tessaly_add_test(NAME SOURCES file... [LIBS lib...] [WINDOWS_ONLY] [TIMEOUT seconds])
# Builds one GoogleTest program and registers it with ctest. Under the Windows
# build the program runs under Wine and needs the code-page check to have passed.
function(tessaly_add_test name)
  cmake_parse_arguments(T "WINDOWS_ONLY" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(T_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} tessaly_gtest)
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(WIN32)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_codepage)
  endif()
endfunction()
