# Script mode: builds the Debian packages, installs them on this machine with dpkg, builds and
# runs the consumer against the installed files both ways, then removes the packages again.
# It changes the machine, so it runs only as root, and never over a copy of the packages that
# was installed by someone else.
# Inputs: BUILD_DIR, SOURCE_DIR, WORK_DIR, CXX, LIBDIR, CPACK.
set(packages libplinth-dev plinth-rc libplinth0)

execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
find_program(DPKG dpkg)
find_program(PKG_CONFIG pkg-config)
if(NOT uid STREQUAL "0")
  message("Skipped: installing packages on the machine needs root")
  return()
endif()
if(NOT DPKG OR NOT PKG_CONFIG)
  message("Skipped: dpkg or pkg-config is not available")
  return()
endif()

# One run at a time on the machine, whichever build tree it comes from.
file(LOCK /var/lock/plinth-package-test.lock GUARD PROCESS TIMEOUT 900)
foreach(package IN LISTS packages)
  execute_process(COMMAND dpkg-query -W -f=\${Status} ${package}
                  OUTPUT_VARIABLE status ERROR_QUIET)
  if(status MATCHES "installed|unpacked|config-files")
    message("Skipped: ${package} is already on the machine (${status}); left alone")
    return()
  endif()
endforeach()

# dpkg refuses to run while another package operation holds its lock: wait for it.
function(dpkg)
  foreach(attempt RANGE 60)
    execute_process(COMMAND ${DPKG} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                    ERROR_VARIABLE err)
    if(rc EQUAL 0 OR NOT err MATCHES "lock")
      break()
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 2)
  endforeach()
  set(dpkg_rc ${rc} PARENT_SCOPE)
  set(dpkg_log "${out}${err}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/debs
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cpack failed (${rc}):\n${out}\n${err}")
endif()
set(files)
foreach(package IN LISTS packages)
  file(GLOB deb ${WORK_DIR}/debs/${package}_*.deb)
  if(NOT deb)
    message(FATAL_ERROR "cpack wrote no ${package} package:\n${out}")
  endif()
  list(APPEND files ${deb})
endforeach()

dpkg(--install ${files})
set(failure)
if(NOT dpkg_rc EQUAL 0)
  set(failure "dpkg --install failed (${dpkg_rc}):\n${dpkg_log}")
else()
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${SOURCE_DIR} -DWORK_DIR=${WORK_DIR}
                    -DCXX=${CXX} -DPREFIX=/usr -DLIBDIR=${LIBDIR}
                    -P ${CMAKE_CURRENT_LIST_DIR}/build_consumer.cmake
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    set(failure "the consumer failed against the installed packages:\n${out}\n${err}")
  endif()
endif()

# Removed on every path, also after a partial install.
dpkg(--purge ${packages})
if(NOT dpkg_rc EQUAL 0)
  string(APPEND failure "\ndpkg --purge failed (${dpkg_rc}):\n${dpkg_log}")
endif()
if(failure)
  message(FATAL_ERROR "${failure}")
endif()
list(JOIN packages " " names)
message("Installed, used and removed: ${names}")
