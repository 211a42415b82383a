# Every include of one of our headers under src/ names the folder the header
# lies in ("engine/series.h"). A bare name would be found beside the file
# that includes it, whatever include roots its library is given, and so
# would slip past the layering. Run by ctest through tests/layers/CMakeLists.txt.
#   -DSRC=the src folder
file(GLOB_RECURSE files ${SRC}/*.h ${SRC}/*.cpp)
set(bare "")
foreach(file IN LISTS files)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]*\"")
  foreach(line IN LISTS lines)
    file(RELATIVE_PATH name ${SRC} ${file})
    string(APPEND bare "\n  src/${name}: ${line}")
  endforeach()
endforeach()
if(NOT bare STREQUAL "")
  message(FATAL_ERROR "includes without their folder:${bare}")
endif()
message(STATUS "every include under src/ names its folder")
