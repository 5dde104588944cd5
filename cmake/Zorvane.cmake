# zorvane_layer(NAME DIR [DEPS ...]): one static library per layer folder; sources are globbed so
# that adding a file needs no CMake edit. Headers are included as "rtl/Date.h", "frame/TReader.h" ...
function(zorvane_layer name dir)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$|/cli/")
  if(NOT srcs)
    set(srcs ${PROJECT_SOURCE_DIR}/cmake/Empty.cpp)
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# zorvane_test_folder(NAME DIR LIBS...): one GoogleTest executable per test folder.
function(zorvane_test_folder name dir)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE ZORVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                             ZORVANE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
