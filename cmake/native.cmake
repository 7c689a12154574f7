# Native configuration: unit tests against the simulated Windows, artwork generators,
# and (with TAVREL_FUZZ) the fuzz targets.
enable_testing()
# GoogleTest as installed (libgtest-dev), or else built from Debian's sources
# (googletest), whose own CMake files define the GTest:: names from 1.11 on.
find_package(GTest QUIET)
if(NOT GTest_FOUND)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
  endif()
endif()
include(GoogleTest)

# Suites that only make sense natively (engine internals, layout, records, generators).
file(GLOB_RECURSE UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
# Suites written against the platform layer: run here on the simulation and under Wine.
file(GLOB_RECURSE PLATFORM_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/platform/*.cpp)
file(GLOB_RECURSE TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)

set(SIM_MAIN ${CMAKE_SOURCE_DIR}/tests/support/sim_main.cc)
if((UNIT_TESTS OR PLATFORM_TESTS) AND EXISTS ${SIM_MAIN} AND NOT TAVREL_FUZZ)
  add_executable(unit_tests ${UNIT_TESTS} ${PLATFORM_TESTS} ${TEST_SUPPORT} ${SIM_MAIN})
  target_link_libraries(unit_tests PRIVATE tavrel_engine tavrel_clock tavrel_sim GTest::gtest)
  # Listed once after the build; each test then runs as its own ctest case.
  gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60 DISCOVERY_MODE PRE_TEST)
endif()

# Artwork generators (run at build time by tools/build.sh).
file(GLOB GENERATORS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/generators/*.cpp)
foreach(g ${GENERATORS})
  get_filename_component(name ${g} NAME_WE)
  add_executable(${name} ${g})
  target_link_libraries(${name} PRIVATE tavrel_engine tavrel_clock)
endforeach()

if(TAVREL_FUZZ)
  # Every library the fuzzers reach is instrumented for coverage and checked by the
  # sanitizers; only the fuzz targets themselves link the fuzzer's main.
  # -O1 after the Debug type's -O0: three times the inputs a second, stacks still exact.
  set(FUZZ_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g -O1)
  # The checker (its own section below is left out of fuzz builds) is fuzzed too.
  file(GLOB FUZZ_CHECKER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/checker/*.cpp)
  list(REMOVE_ITEM FUZZ_CHECKER_SOURCES ${CMAKE_SOURCE_DIR}/tools/checker/main.cpp)
  add_library(tavrel_checker STATIC ${FUZZ_CHECKER_SOURCES})
  target_link_libraries(tavrel_checker PUBLIC tavrel_engine tavrel_sim)
  foreach(lib tavrel_text tavrel_engine tavrel_clock tavrel_sim tavrel_checker)
    target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link ${FUZZ_SANITIZERS})
  endforeach()
  # The simulated Windows is the fuzzers' test bench, not what they test: its edges still
  # guide them, but tracing its path and name comparisons took a tenth of a script
  # input's time and only steers the fuzzer into the bench.
  target_compile_options(tavrel_sim PRIVATE -fno-sanitize-coverage=trace-cmp)
  # The line reader and pattern matcher run over every byte of the script many times an
  # input, the option lookup and the dispatcher over every line for every key and
  # keyword, the argument reader over every byte of every command; comparison tracing
  # there costs more than it finds (the dictionaries give the fuzzers the words they
  # compare against).
  set_source_files_properties(${CMAKE_SOURCE_DIR}/script/script_text.cpp ${CMAKE_SOURCE_DIR}/text/text_rules.cpp
    ${CMAKE_SOURCE_DIR}/installer/options.cpp ${CMAKE_SOURCE_DIR}/script/dispatch.cpp
    ${CMAKE_SOURCE_DIR}/script/argument_reader.cpp
    PROPERTIES COMPILE_OPTIONS -fno-sanitize-coverage=trace-cmp)
  # The clock's pixel loops compare coordinates and colour indexes with constants for
  # every pixel of every tick: tracing them was three quarters of a stored state's time.
  set_source_files_properties(${CMAKE_SOURCE_DIR}/clock/frame_composer.cpp ${CMAKE_SOURCE_DIR}/clock/pixel_rows.cpp
    PROPERTIES COMPILE_OPTIONS -fno-sanitize-coverage=trace-cmp)
  add_custom_target(fuzzers)
  file(GLOB FUZZERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cpp)
  foreach(f ${FUZZERS})
    get_filename_component(name ${f} NAME_WE)
    add_executable(${name} ${f})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${FUZZ_SANITIZERS})
    target_link_libraries(${name} PRIVATE tavrel_checker tavrel_engine tavrel_clock tavrel_sim)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer ${FUZZ_SANITIZERS})
    add_dependencies(fuzzers ${name})
  endforeach()
endif()

# ---- Script checker: tavrel-check and its library (tools/checker) ------------------
file(GLOB CHECKER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/checker/*.cpp)
list(REMOVE_ITEM CHECKER_SOURCES ${CMAKE_SOURCE_DIR}/tools/checker/main.cpp)
if(CHECKER_SOURCES AND NOT TAVREL_FUZZ)
  add_library(tavrel_checker STATIC ${CHECKER_SOURCES})
  target_link_libraries(tavrel_checker PUBLIC tavrel_engine tavrel_sim)
  add_executable(tavrel-check ${CMAKE_SOURCE_DIR}/tools/checker/main.cpp)
  target_link_libraries(tavrel-check PRIVATE tavrel_checker)
  if(TARGET unit_tests)
    target_link_libraries(unit_tests PRIVATE tavrel_checker)
    target_compile_definitions(unit_tests PRIVATE TAVREL_CHECKER_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  endif()
endif()
