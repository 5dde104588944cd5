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
                                             ZORVANE_VERSION="${PROJECT_VERSION}"
                                             ZORVANE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  # Tests that print on the print service's shared queue, or check what it holds, take turns: one
  # that checks a print went elsewhere would see another test's job.
  set(printing "CupsPrinter.*:CupsReport.*:CupsSpool.*:PrintDialogTest.*:ReportFormTest.*:ReportCommandTest.*")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "-${printing}"
                       PROPERTIES TIMEOUT 300)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "${printing}"
                       PROPERTIES TIMEOUT 300 RESOURCE_LOCK print_service)
endfunction()

# zorvane_embed_resources(TARGET [FORMS file.form ...] [FILES TYPE NAME PATH ...])
# Embeds resources in an executable: every form source is compiled by formtool at build time and
# embedded as RCDATA named by its root class in upper case; each FILES triple embeds a file as a
# resource of TYPE (RCDATA, BITMAP or ICON) and NAME. Look them up with platform/resources.
function(zorvane_embed_resources target)
  cmake_parse_arguments(ARG "" "" "FORMS;FILES" ${ARGN})
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)
  set(args)
  set(deps)
  foreach(form ${ARG_FORMS})
    get_filename_component(base ${form} NAME_WE)
    set(bin ${dir}/${base}.bin)
    add_custom_command(OUTPUT ${bin}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND formtool compile ${form} ${bin}
      DEPENDS ${form} formtool
      COMMENT "Compiling form ${base}")
    list(APPEND args RCDATA @form ${bin})
    list(APPEND deps ${bin})
  endforeach()
  list(LENGTH ARG_FILES count)
  if(count GREATER 0)
    math(EXPR last "${count} - 1")
    foreach(i RANGE 2 ${last} 3)
      list(GET ARG_FILES ${i} path)
      list(APPEND deps ${path})
    endforeach()
  endif()
  list(APPEND args ${ARG_FILES})
  add_custom_command(OUTPUT ${dir}/Resources.cpp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND zorvane-resgen ${dir}/Resources.cpp ${args}
    DEPENDS zorvane-resgen ${deps}
    COMMENT "Embedding resources in ${target}")
  target_sources(${target} PRIVATE ${dir}/Resources.cpp)
  target_link_libraries(${target} PRIVATE zplatform)
endfunction()

# zorvane_embed_program_resources(TARGET): the program's own resources — every form source in
# resources/forms and the files listed in resources/Resources.cmake.
function(zorvane_embed_program_resources target)
  file(GLOB forms CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/forms/*.form)
  set(ZORVANE_RESOURCE_FILES)
  include(${PROJECT_SOURCE_DIR}/resources/Resources.cmake)
  zorvane_embed_resources(${target} FORMS ${forms} FILES ${ZORVANE_RESOURCE_FILES})
endfunction()
