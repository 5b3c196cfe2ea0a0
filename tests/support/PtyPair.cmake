# The pseudo-terminal fixture, shared by the suites that talk to a serial port.
# Included by each such suite's CMakeLists; defined once.
include_guard(GLOBAL)
add_library(sorvex_pty_support STATIC ${CMAKE_SOURCE_DIR}/tests/support/PtyPair.cpp)
target_include_directories(sorvex_pty_support PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(sorvex_pty_support PUBLIC platform_comm Qt6::Core)
target_compile_options(sorvex_pty_support PRIVATE -Wall -Wextra)

# The card reader simulator on a pseudo-terminal, where the simulator exists.
if(TARGET emitsim_lib)
  add_library(sorvex_reader_support STATIC ${CMAKE_SOURCE_DIR}/tests/support/SimulatedReader.cpp)
  target_include_directories(sorvex_reader_support PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(sorvex_reader_support PUBLIC sorvex_pty_support emitsim_lib)
  target_compile_options(sorvex_reader_support PRIVATE -Wall -Wextra)
endif()
