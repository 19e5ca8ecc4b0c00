# Warning and sanitizer flags shared by the library, its tests, benchmarks and examples.
function(plinth_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast
                                           -Wcast-qual -Wformat=2 -Wundef)
  if(PLINTH_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(PLINTH_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all
                                             -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# Fuzzing: every target, the library included, carries coverage and ASan+UBSan. The sanitizer
# runtime is shared, so the library links with --no-undefined; the fuzz targets link libFuzzer
# statically (fuzz/CMakeLists.txt).
if(PLINTH_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -shared-libsan)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libclang_rt.asan-x86_64.so
                  OUTPUT_VARIABLE plinth_asan_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(plinth_runtime_dir ${plinth_asan_runtime} DIRECTORY)
  add_link_options(-Wl,-rpath,${plinth_runtime_dir})
endif()

# ThreadSanitizer, for the tests of the state that threads share.
if(PLINTH_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
