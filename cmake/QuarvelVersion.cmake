# The program's version as C++ (quarvel/version.h), generated from project()'s
# VERSION, so that the code never spells it out itself.
configure_file(${PROJECT_SOURCE_DIR}/cmake/templates/version.h.in
               ${PROJECT_BINARY_DIR}/generated/quarvel/version.h @ONLY)
add_library(quarvel_version INTERFACE)
add_library(quarvel::version ALIAS quarvel_version)
target_include_directories(quarvel_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
