# Script mode: installs into a scratch prefix, then builds and runs the consumer both ways.
include(${CMAKE_CURRENT_LIST_DIR}/build_consumer.cmake)

set(PREFIX ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})
build_consumer()
