# The release package: Tessaly-<version>-win64.zip with the two deliverables
# and the read-me for Windows users (Japanese and English, code page 932 with
# CR LF line ends, as Windows' Notepad on a Japanese system expects).
if(NOT WIN32)
  return()
endif()

set(readme_utf8 "${CMAKE_BINARY_DIR}/packaging/ReadMe.utf8.txt")
set(readme "${CMAKE_BINARY_DIR}/packaging/ReadMe.txt")
configure_file("${PROJECT_SOURCE_DIR}/packaging/ReadMe.txt.in" "${readme_utf8}" @ONLY)
add_custom_command(
  OUTPUT "${readme}"
  COMMAND iconv -f UTF-8 -t CP932 "${readme_utf8}" | sed "s/$/\\r/" > "${readme}"
  DEPENDS "${readme_utf8}"
  VERBATIM)
add_custom_target(tessaly_readme ALL DEPENDS "${readme}")

foreach(target Tessaly sorrel_x64)
  if(TARGET ${target})
    install(TARGETS ${target} RUNTIME DESTINATION . LIBRARY DESTINATION . ARCHIVE EXCLUDE_FROM_ALL)
  endif()
endforeach()
install(FILES "${readme}" DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tessaly)
set(CPACK_PACKAGE_VENDOR Brindle-Works)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_SYSTEM_NAME win64)
set(CPACK_PACKAGE_FILE_NAME "Tessaly-${PROJECT_VERSION}-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/package")
include(CPack)
