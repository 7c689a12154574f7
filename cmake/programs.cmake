# The Windows programs, the UI automation tool and the command tests for Wine.
# The deliverables go to dist/; a test-only build for another architecture names its own.
set(TAVREL_DIST_DIR ${CMAKE_SOURCE_DIR}/dist CACHE PATH "Where the programs are put")
set(DIST_DIR ${TAVREL_DIST_DIR})

# Resource scripts are UTF-8 in the repo; windres reads them as code page 932.
function(tavrel_rc out rc)
  get_filename_component(name ${rc} NAME)
  set(converted ${CMAKE_BINARY_DIR}/rc/${name})
  # The artwork it includes is generated: a new sheet or picture rebuilds the resources.
  file(GLOB rc_deps ${CMAKE_SOURCE_DIR}/resources/* ${TAVREL_GENERATED_DIR}/*)
  add_custom_command(OUTPUT ${converted}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/rc
    COMMAND iconv -f UTF-8 -t CP932 ${rc} -o ${converted}
    DEPENDS ${rc} ${rc_deps} VERBATIM)
  set(${out} ${converted} PARENT_SCOPE)
endfunction()

# Watched so that adding or removing a resource script configures its program anew.
file(GLOB TAVREL_RC_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.rc)

# A program whose resource script is missing is left out with a warning, so that one
# program's resources never stop the others from building.
function(tavrel_program target output rc)
  if(NOT EXISTS ${rc})
    message(WARNING "${output}.EXE left out: ${rc} does not exist")
    return()
  endif()
  tavrel_rc(converted ${rc})
  add_executable(${target} WIN32 ${ARGN} ${converted})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output} SUFFIX ".EXE"
                        RUNTIME_OUTPUT_DIRECTORY ${DIST_DIR})
endfunction()

if(INSTALLER_WIN32)
  tavrel_program(ostrel OSTREL ${CMAKE_SOURCE_DIR}/resources/ostrel.rc ${INSTALLER_WIN32})
  if(TARGET ostrel)
    target_link_libraries(ostrel PRIVATE tavrel_engine tavrel_win32)
  endif()
endif()
if(RUNNER_WIN32)
  tavrel_program(brinmark BRINMARK ${CMAKE_SOURCE_DIR}/resources/brinmark.rc ${RUNNER_WIN32})
  if(TARGET brinmark)
    target_link_libraries(brinmark PRIVATE tavrel_engine tavrel_win32)
  endif()
endif()
if(CLOCK_WIN32)
  tavrel_program(pendrick PENDRICK ${CMAKE_SOURCE_DIR}/resources/pendrick.rc ${CLOCK_WIN32})
  if(TARGET pendrick)
    target_link_libraries(pendrick PRIVATE tavrel_clock tavrel_win32)
  endif()
endif()

# Test-side Windows programs: the UI automation tool and the demo game.
file(GLOB UIAUTO_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/uiauto/*.cpp)
if(UIAUTO_SOURCES)
  add_executable(uiauto ${UIAUTO_SOURCES})
  set_target_properties(uiauto PROPERTIES OUTPUT_NAME UIAUTO SUFFIX ".EXE")
  target_link_libraries(uiauto PRIVATE user32 gdi32 ole32 uuid shell32 advapi32)
endif()
file(GLOB DEMOGAME_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/demo/game/*.cpp)
if(DEMOGAME_SOURCES)
  add_executable(demogame WIN32 ${DEMOGAME_SOURCES})
  set_target_properties(demogame PROPERTIES OUTPUT_NAME GAME SUFFIX ".EXE")
endif()

# The platform-layer suites, built against the real Win32 layer, run under Wine.
set(GTEST_ROOT /usr/src/googletest)
if(EXISTS ${GTEST_ROOT})
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(${GTEST_ROOT} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # MinGW's win32 thread model has no std::mutex; the tests run on one thread.
  target_compile_options(gtest PUBLIC -include ${CMAKE_SOURCE_DIR}/tests/support/win32/gtest_threads_shim.h)
  file(GLOB_RECURSE PLATFORM_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/platform/*.cpp)
  file(GLOB_RECURSE TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
  if(PLATFORM_TESTS)
    add_executable(platform_tests ${PLATFORM_TESTS} ${TEST_SUPPORT} ${CMAKE_SOURCE_DIR}/tests/support/win32_main.cc)
    set_target_properties(platform_tests PROPERTIES OUTPUT_NAME PLATFORM_TESTS SUFFIX ".EXE")
    target_link_libraries(platform_tests PRIVATE tavrel_engine tavrel_sim tavrel_win32 gtest)
  endif()
endif()

# ---- Script checker: TAVRELCK.EXE, a console program (tools/checker) ---------------
file(GLOB TAVRELCK_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/checker/*.cpp)
if(TAVRELCK_SOURCES)
  add_executable(tavrelck ${TAVRELCK_SOURCES})
  set_target_properties(tavrelck PROPERTIES OUTPUT_NAME TAVRELCK SUFFIX ".EXE" RUNTIME_OUTPUT_DIRECTORY ${DIST_DIR})
  target_link_libraries(tavrelck PRIVATE tavrel_engine tavrel_sim)
endif()
