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
