# Target-scoped flags: our code is built with warnings as errors; the numeric
# code never contracts a*b+c into a fused multiply-add, so every machine writes
# the same bytes.
function(quarvel_flags target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror -ffp-contract=off)
endfunction()

# quarvel_publish_headers(<target> [HEADERS ...]) gives <target> an include
# root of its own in the build tree, include/<target>/, holding a link to each
# of its headers under the path it has below src/ ("engine/series.h"). The
# target's headers are the header beside each of its sources (x.h for x.cpp)
# and the header-only files named after HEADERS. A target sees its own root
# and, through its dependencies, theirs: a header of a library it does not
# depend on, or a window's header in the same folder as a library's, is not
# found, so an include that points up the layers fails to compile. Call it
# once the target has all its sources.
function(quarvel_publish_headers target)
  cmake_parse_arguments(ARG "" "" "HEADERS" ${ARGN})
  get_target_property(sources ${target} SOURCES)
  get_target_property(sourceDir ${target} SOURCE_DIR)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root})
  set(headers)
  foreach(file IN LISTS sources ARG_HEADERS)
    cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY ${sourceDir} NORMALIZE OUTPUT_VARIABLE path)
    cmake_path(REPLACE_EXTENSION path LAST_ONLY .h OUTPUT_VARIABLE header)
    if(EXISTS ${header})
      list(APPEND headers ${header})
    elseif(file IN_LIST ARG_HEADERS)
      message(FATAL_ERROR "${target}: no header ${header}")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES headers)
  foreach(header IN LISTS headers)
    cmake_path(RELATIVE_PATH header BASE_DIRECTORY ${PROJECT_SOURCE_DIR}/src OUTPUT_VARIABLE name)
    cmake_path(GET name PARENT_PATH folder)
    file(MAKE_DIRECTORY ${root}/${folder})
    file(CREATE_LINK ${header} ${root}/${name} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# quarvel_library(<name> SOURCES ... [HEADERS ...] [DEPS ...]) makes
# quarvel_<name> with the ALIAS quarvel::<name>; its include root holds its
# own headers only (see quarvel_publish_headers), HEADERS naming the
# header-only ones.
function(quarvel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;HEADERS;DEPS" ${ARGN})
  add_library(quarvel_${name} STATIC ${ARG_SOURCES} ${ARG_HEADERS})
  add_library(quarvel::${name} ALIAS quarvel_${name})
  quarvel_publish_headers(quarvel_${name} HEADERS ${ARG_HEADERS})
  target_link_libraries(quarvel_${name} PUBLIC ${ARG_DEPS})
  quarvel_flags(quarvel_${name})
endfunction()

# quarvel_test(<name> SOURCES ... DEPS ...) makes one GoogleTest executable.
function(quarvel_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  quarvel_flags(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
