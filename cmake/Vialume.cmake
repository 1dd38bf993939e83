# Helpers shared by the areas' CMakeLists.txt files.

# vl_area_library(NAME <target> [LIBS <libs...>])
# A static library from every .cpp of the current folder (not recursive).
function(vl_area_library)
  cmake_parse_arguments(A "" "NAME" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${A_NAME} STATIC ${sources} ${headers})
  target_include_directories(${A_NAME} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${A_NAME} PUBLIC ${A_LIBS})
endfunction()

# vl_gtest(NAME <target> [LIBS <libs...>])
# One GoogleTest program from every .cpp of the current folder, registered with CTest.
function(vl_gtest)
  cmake_parse_arguments(A "" "NAME" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${A_NAME} ${sources})
  target_include_directories(${A_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${A_NAME} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  # The environment goes in through the test launcher: a list-valued ENVIRONMENT property does
  # not survive gtest_discover_tests' PRE_TEST mode (only its first item reaches the tests).
  set_target_properties(${A_NAME} PROPERTIES CROSSCOMPILING_EMULATOR
    "${CMAKE_COMMAND};-E;env;QT_QPA_PLATFORM=offscreen;VL_SOURCE_DIR=${PROJECT_SOURCE_DIR};VL_APP_DIR=${VL_APP_DIR}")
  gtest_discover_tests(${A_NAME} DISCOVERY_MODE PRE_TEST)
endfunction()

# vl_fuzzer(NAME <target> [LIBS <libs...>]): a libFuzzer program from every .cpp of the current folder.
function(vl_fuzzer)
  cmake_parse_arguments(A "" "NAME" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${A_NAME} ${sources})
  target_include_directories(${A_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${A_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${A_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${A_NAME} PRIVATE ${A_LIBS})
endfunction()

# vl_benchmark(NAME <target> [LIBS <libs...>]): a Google Benchmark program from every .cpp of the current folder.
function(vl_benchmark)
  cmake_parse_arguments(A "" "NAME" "LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${A_NAME} ${sources})
  target_include_directories(${A_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${A_NAME} PRIVATE ${A_LIBS} benchmark::benchmark)
endfunction()
