# Helpers for the engine's byte-level folders (zip, markup, resources).
#
# vx_check_headers(<name> LIBS <targets...> HEADERS <folder/header.h...>)
# Compiles each header alone in a translation unit of its own: every header includes what it uses.
#
# vx_fuzz_instrument(<target>): builds a library of ours with the fuzzing sanitizers.
# vx_add_fuzzer(NAME <name> SOURCES <files...> [LIBS <targets...>] SEEDS <dir> [FIXTURES <names...>])
# A libFuzzer program plus a CTest test that runs it for a bounded time over the seed folder.
# New inputs go to a work corpus in the build folder, never into the seeds.
include_guard(GLOBAL)

set(VX_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                  -fno-sanitize-recover=undefined)
set(VX_FUZZ_SECONDS 30 CACHE STRING "Time each fuzz target runs under CTest")

function(vx_fuzz_instrument target)
  if(VX_FUZZ)
    target_compile_options(${target} PRIVATE ${VX_FUZZ_FLAGS})
  endif()
endfunction()

function(vx_add_fuzzer)
  cmake_parse_arguments(F "" "NAME;SEEDS" "SOURCES;LIBS;FIXTURES" ${ARGN})
  add_executable(${F_NAME} ${F_SOURCES})
  target_link_libraries(${F_NAME} PRIVATE vx_defaults ${F_LIBS})
  target_compile_options(${F_NAME} PRIVATE ${VX_FUZZ_FLAGS})
  target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${F_NAME}-corpus)
  file(MAKE_DIRECTORY ${work})
  add_test(NAME ${F_NAME}
           COMMAND ${F_NAME} -max_total_time=${VX_FUZZ_SECONDS} -rss_limit_mb=2048 -timeout=10
                   -print_final_stats=1 ${work} ${F_SEEDS})
  set_tests_properties(${F_NAME} PROPERTIES TIMEOUT 300 LABELS fuzz)
  if(F_FIXTURES)
    set_tests_properties(${F_NAME} PROPERTIES FIXTURES_REQUIRED "${F_FIXTURES}")
  endif()
endfunction()

function(vx_check_headers name)
  cmake_parse_arguments(H "" "" "LIBS;HEADERS" ${ARGN})
  if(VX_FUZZ)
    return()
  endif()
  set(units)
  foreach(header IN LISTS H_HEADERS)
    string(MAKE_C_IDENTIFIER ${header} id)
    set(unit ${CMAKE_CURRENT_BINARY_DIR}/header_check/${id}.cpp)
    file(CONFIGURE OUTPUT ${unit} CONTENT "#include \"${header}\"\n")
    list(APPEND units ${unit})
  endforeach()
  add_library(${name} OBJECT ${units})
  target_link_libraries(${name} PRIVATE vx_defaults ${H_LIBS})
endfunction()
