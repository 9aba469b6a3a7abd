# Fuzz preset: only the libFuzzer target, built from the core sources with the sanitizers.
set(VX7Z_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
add_executable(vx7z_fuzz_archive ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/FuzzArchive.cpp ${VX7Z_CORE_SOURCES})
target_include_directories(vx7z_fuzz_archive PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
target_compile_options(vx7z_fuzz_archive PRIVATE ${VX7Z_FUZZ_FLAGS})
target_link_options(vx7z_fuzz_archive PRIVATE ${VX7Z_FUZZ_FLAGS})
target_link_libraries(vx7z_fuzz_archive PRIVATE vx_defaults)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(VX7Z_SEEDS ${CMAKE_CURRENT_BINARY_DIR}/fuzz-seeds)
set(VX7Z_FINDS ${CMAKE_CURRENT_BINARY_DIR}/fuzz-corpus)
add_test(NAME vx7z_fuzz_seeds
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/make_corpus.py ${VX7Z_SEEDS})
set_tests_properties(vx7z_fuzz_seeds PROPERTIES FIXTURES_SETUP vx7z_seeds TIMEOUT 120)
# New inputs go to a folder of their own; the seeds stay as generated.
add_test(NAME vx7z_fuzz_archive
         COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
                 $<TARGET_FILE:vx7z_fuzz_archive> -max_total_time=60 -rss_limit_mb=2048 -timeout=20
                 ${VX7Z_FINDS} ${VX7Z_SEEDS})
set_tests_properties(vx7z_fuzz_archive PROPERTIES FIXTURES_REQUIRED vx7z_seeds TIMEOUT 200)
add_test(NAME vx7z_fuzz_corpus_dir COMMAND ${CMAKE_COMMAND} -E make_directory ${VX7Z_FINDS})
set_tests_properties(vx7z_fuzz_corpus_dir PROPERTIES FIXTURES_SETUP vx7z_seeds)
