# Compiles two one-line sources with the include roots a library is built
# with: one including a header the library may use (it must compile), one
# including a header of a layer above it (it must fail, that header not being
# found). Run by ctest through tests/layers/CMakeLists.txt.
#   -DCXX=compiler -DROOTS=dir|dir|... -DALLOWED=folder/x.h -DFORBIDDEN=folder/y.h -DWORK=dir
string(REPLACE "|" ";" roots "${ROOTS}")
set(flags -std=c++20 -fsyntax-only -fPIC)
foreach(root IN LISTS roots)
  list(APPEND flags -I${root})
endforeach()
file(MAKE_DIRECTORY ${WORK})

file(WRITE ${WORK}/allowed.cpp "#include \"${ALLOWED}\"\n")
execute_process(COMMAND ${CXX} ${flags} ${WORK}/allowed.cpp
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${ALLOWED} does not compile with these roots:\n${output}")
endif()

file(WRITE ${WORK}/forbidden.cpp "#include \"${FORBIDDEN}\"\n")
execute_process(COMMAND ${CXX} ${flags} ${WORK}/forbidden.cpp
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "${FORBIDDEN} compiles with these roots: an include up the layers is possible")
endif()
string(REPLACE "." "\\." pattern "${FORBIDDEN}")
if(NOT output MATCHES "${pattern}'?:? (No such file|file not found)")
  message(FATAL_ERROR "${FORBIDDEN} failed for another reason than not being found:\n${output}")
endif()
message(STATUS "${ALLOWED} compiles; ${FORBIDDEN} is not found")
