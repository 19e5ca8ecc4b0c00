# Builds the consumer against an installed library and runs it, once through find_package and
# once through pkg-config, both looking in PREFIX first. Included, it defines run() and
# build_consumer(); run as a script (cmake -P), it builds the consumer at once.
# Inputs: SOURCE_DIR (the consumer), WORK_DIR, CXX, PREFIX, LIBDIR (relative to PREFIX).

# run(<command>...): fails the script, with the command's output, when the command fails.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
endfunction()

function(pkg_config var)
  execute_process(COMMAND pkg-config ${ARGN} plinth OUTPUT_VARIABLE out RESULT_VARIABLE rc
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "pkg-config ${ARGN} plinth failed")
  endif()
  set(${var} "${out}" PARENT_SCOPE)
endfunction()

function(build_consumer)
  run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/cmake -G Ninja
      -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${PREFIX})
  run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake)
  run(${WORK_DIR}/cmake/consumer)

  set(ENV{PKG_CONFIG_PATH} ${PREFIX}/${LIBDIR}/pkgconfig)
  pkg_config(flags --cflags --libs)
  pkg_config(libdir --variable=libdir)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  run(${CXX} ${SOURCE_DIR}/main.cpp ${flags} -Wl,-rpath,${libdir} -o ${WORK_DIR}/consumer-pc)
  run(${WORK_DIR}/consumer-pc)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  build_consumer()
endif()
