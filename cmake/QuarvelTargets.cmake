# Target-scoped flags: our code is built with warnings as errors; the numeric
# code never contracts a*b+c into a fused multiply-add, so every machine writes
# the same bytes.
function(quarvel_flags target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror -ffp-contract=off)
endfunction()

# quarvel_library(<name> SOURCES ... [DEPS ...]) makes quarvel_<name> with the
# ALIAS quarvel::<name>, its folder as the public include root.
function(quarvel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(quarvel_${name} STATIC ${ARG_SOURCES})
  add_library(quarvel::${name} ALIAS quarvel_${name})
  target_include_directories(quarvel_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
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
