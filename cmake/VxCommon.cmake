# Build conventions shared by every folder: flags, GoogleTest and test helpers.
include_guard(GLOBAL)
enable_testing()

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(VX_WINDOWS ON)
else()
  set(VX_WINDOWS OFF)
endif()
option(VX_SANITIZE "Build the native code with ASan and UBSan" OFF)
option(VX_FUZZ "Build only the libFuzzer targets (clang)" OFF)

set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_C_STANDARD 11)

# Debian's Python first: it is the one with the packaged modules (PIL) the tests use.
find_program(VX_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(VX_PYTHON3 NAMES python3 REQUIRED)

# Flags every target of ours gets (third-party targets do not).
add_library(vx_defaults INTERFACE)
target_compile_options(vx_defaults INTERFACE -Wall -Wextra)
if(VX_WINDOWS)
  target_compile_definitions(vx_defaults INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()
if(VX_SANITIZE)
  target_compile_options(vx_defaults INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(vx_defaults INTERFACE -fsanitize=address,undefined)
endif()

# The Wine runner: CMake puts it in front of every Windows test program.
if(VX_WINDOWS AND CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(VX_WINE_RUN ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VX_WINE_RUN} CACHE STRING "" FORCE)
  set(VX_CAN_RUN_TESTS ON)
elseif(VX_WINDOWS)
  set(VX_CAN_RUN_TESTS OFF)   # 32-bit code cannot execute on these machines
else()
  set(VX_CAN_RUN_TESTS ON)
endif()

# GoogleTest from Debian's packaged sources, built by whichever toolchain is active.
if(NOT VX_FUZZ AND NOT TARGET GTest::gtest_main)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
endif()

# vx_add_gtest(NAME <name> SOURCES <files...> [LIBS <targets...>] [ARGS <args...>]
#              [FRESH_PREFIX] [DISPLAY] [TIMEOUT <s>] [LABELS <labels...>]
#              [FIXTURES <names...>] [ENVIRONMENT <VAR=value...>])
# One GoogleTest program is one CTest test; on windows-x64 it runs under Wine.
#   FRESH_PREFIX  the program gets a Wine prefix of its own, copied from the pristine one
#   DISPLAY       the program needs the X display (windows, input, screenshots)
function(vx_add_gtest)
  cmake_parse_arguments(T "FRESH_PREFIX;DISPLAY" "NAME;TIMEOUT"
                        "SOURCES;LIBS;ARGS;LABELS;FIXTURES;ENVIRONMENT" ${ARGN})
  if(VX_FUZZ)
    return()   # the fuzz configuration builds fuzz targets only
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE vx_defaults GTest::gtest_main ${T_LIBS})
  if(NOT VX_CAN_RUN_TESTS)
    return()
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} ${T_ARGS})
  set(env ${T_ENVIRONMENT})
  if(T_FRESH_PREFIX)
    list(APPEND env VX_FRESH_PREFIX=1)
  endif()
  if(env)
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}")
  endif()
  if(T_TIMEOUT)
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
  if(T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
  endif()
  if(T_FIXTURES)
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED "${T_FIXTURES}")
  endif()
  if(T_DISPLAY)
    # Programs that put windows on the shared display must not overlap.
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK x_display)
  endif()
endfunction()
