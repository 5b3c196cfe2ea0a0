# Helpers that give every folder its one target with a short CMakeLists.
#
# sorvex_library(<target> DIR <folder> [DEPS <targets...>] [PRIVATE_DEPS <targets...>]
#                 [PCH <headers...>])
#   Builds the .cpp files of <folder> (not recursive) into a static library;
#   an empty folder becomes an interface target so the layering still holds.
#   PRIVATE_DEPS are linked but their headers stay inside the folder, so a
#   target above cannot include them (Qt Widgets and Gui in platform/ui).
function(sorvex_library target)
  cmake_parse_arguments(ARG "" "" "DIRS;DEPS;PRIVATE_DEPS;PCH;EXCLUDE" ${ARGN})
  set(sources)
  foreach(dir ${ARG_DIRS})
    file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.c)
    list(APPEND sources ${dir_sources})
  endforeach()
  foreach(ex ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/${ex})
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
    if(ARG_PRIVATE_DEPS)
      target_link_libraries(${target} PRIVATE ${ARG_PRIVATE_DEPS})
    endif()
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(ARG_PCH)
      target_precompile_headers(${target} PRIVATE ${ARG_PCH})
    endif()
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# sorvex_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels>] [TIMEOUT s])
#   One GoogleTest executable registered as one CTest test, run on the
#   offscreen Qt platform with a private program folder.
function(sorvex_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock Threads::Threads)
  if(NOT "GTest::gtest_main" IN_LIST ARG_LIBS AND NOT "sorvex_test_main" IN_LIST ARG_LIBS)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_options(${name} PRIVATE -Wall -Wextra)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    LABELS "${ARG_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SORVEX_SOURCE_DIR=${CMAKE_SOURCE_DIR};SORVEX_BIN_DIR=${SORVEX_BIN_DIR}")
endfunction()
