# Checks what sorrel_x64.dll shows the world: exactly the exports Sorrel_Start
# and Sorrel_End, by name; no shared data section; imports from Windows' own
# DLLs alone; and an import library through which a program links both names.
#   cmake -DOBJDUMP=objdump -DNM=nm -DLIBRARY=sorrel_x64.dll -DIMPORT_LIBRARY=sorrel_x64.dll.a
#         -P check_library.cmake
# The binutils speak English only in the C locale; the Wine runs set a Japanese one.
set(ENV{LC_ALL} C)
set(ENV{LANGUAGE} C)
execute_process(COMMAND "${OBJDUMP}" -p "${LIBRARY}" OUTPUT_VARIABLE headers RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot read ${LIBRARY}")
endif()
execute_process(COMMAND "${OBJDUMP}" -h "${LIBRARY}" OUTPUT_VARIABLE sections)

string(REGEX REPLACE ".*\\[Ordinal/Name Pointer\\] Table\n" "" exportPart "${headers}")
string(REGEX REPLACE "\n[ \t]*\n.*" "" exportPart "${exportPart}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" exportLines "${exportPart}")
set(exports)
foreach(line IN LISTS exportLines)
  string(REGEX REPLACE "\\[ *[0-9]+\\] " "" name "${line}")
  list(APPEND exports "${name}")
endforeach()
list(SORT exports)
if(NOT exports STREQUAL "Sorrel_End;Sorrel_Start")
  message(FATAL_ERROR "${LIBRARY} exports [${exports}], expected exactly Sorrel_End and Sorrel_Start")
endif()

if(sections MATCHES "SHARED")
  message(FATAL_ERROR "${LIBRARY} has a shared section:\n${sections}")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" importLines "${headers}")
foreach(line IN LISTS importLines)
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(TOLOWER "${dll}" dll)
  if(NOT dll MATCHES "^(kernel32|user32|msvcrt)\\.dll$")
    message(FATAL_ERROR "${LIBRARY} imports ${dll}, which it must not need")
  endif()
endforeach()
execute_process(COMMAND "${NM}" "${IMPORT_LIBRARY}" OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot read ${IMPORT_LIBRARY}")
endif()
foreach(name Sorrel_Start Sorrel_End)
  if(NOT symbols MATCHES "I __imp_${name}\n" OR NOT symbols MATCHES "sorrel_x64_dll")
    message(FATAL_ERROR "${IMPORT_LIBRARY} does not import ${name} from sorrel_x64.dll")
  endif()
endforeach()
message(STATUS "${LIBRARY}: exports ${exports}; imports ${importLines}")
