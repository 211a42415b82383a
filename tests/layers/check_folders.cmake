# Every include of one of our headers under src/ and tests/ names the folder
# the header lies in ("engine/series.h"), counted from the include root, and
# never climbs out of one ("../engine/series.h"). Either would be found beside
# the file that includes it, whatever include roots its library is given,
# and so would slip past the layering. Run by ctest through
# tests/layers/CMakeLists.txt.
#   -DROOT=the project's folder
set(found "")
foreach(folder src tests)
  file(GLOB_RECURSE files ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
  foreach(file IN LISTS files)
    file(STRINGS ${file} lines
      REGEX "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]*|[^\"]*\\.\\./[^\"]*)\"")
    foreach(line IN LISTS lines)
      file(RELATIVE_PATH name ${ROOT} ${file})
      string(APPEND found "\n  ${name}: ${line}")
    endforeach()
  endforeach()
endforeach()
if(NOT found STREQUAL "")
  message(FATAL_ERROR "includes without their folder:${found}")
endif()
message(STATUS "every include under src/ and tests/ names its folder")
