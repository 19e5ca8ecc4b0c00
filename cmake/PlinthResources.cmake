# plinth_add_resources(<target> TYPE <type> NAME <name> FILE <file> [LANGUAGE <n>])
#
# Embeds the file as a resource of the target's module each time the target is linked, with
# plinth-rc; the target is linked again when the file changes. TYPE and NAME are texts or
# integer identifiers written #n; LANGUAGE defaults to 1033. A relative FILE is taken from
# the current source directory. Call it once per resource.
function(plinth_add_resources target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TYPE;NAME;FILE;LANGUAGE" "")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_TYPE OR NOT arg_NAME OR NOT arg_FILE)
    message(FATAL_ERROR
      "usage: plinth_add_resources(<target> TYPE <type> NAME <name> FILE <file> [LANGUAGE <n>])")
  endif()
  if(NOT TARGET ${target})
    message(FATAL_ERROR "plinth_add_resources: ${target} is not a target")
  endif()
  if(NOT TARGET Plinth::plinth-rc)
    message(FATAL_ERROR "plinth_add_resources: plinth-rc is not installed (package plinth-rc)")
  endif()
  if(NOT DEFINED arg_LANGUAGE)
    set(arg_LANGUAGE 1033)
  endif()
  get_filename_component(file "${arg_FILE}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${file}")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND Plinth::plinth-rc add "$<TARGET_FILE:${target}>" "${arg_TYPE}" "${arg_NAME}" "${file}"
            --language ${arg_LANGUAGE}
    COMMENT "Embedding ${arg_FILE} in ${target} as resource ${arg_TYPE} ${arg_NAME}"
    VERBATIM)
endfunction()
