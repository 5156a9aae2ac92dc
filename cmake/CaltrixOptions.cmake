# Warnings and sanitizers, set in one place for every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic)

set(CALTRIX_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address,undefined")
if(CALTRIX_SANITIZE)
  add_compile_options(-fsanitize=${CALTRIX_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${CALTRIX_SANITIZE})
endif()

# Where the shipped data lives in the build tree, so the program runs from there.
set(CALTRIX_BUILD_BIN_DIR ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CALTRIX_BUILD_BIN_DIR})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CALTRIX_BUILD_BIN_DIR})
