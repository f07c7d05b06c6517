# The archive test: builds the package, unpacks it, and runs the packaged program on Xvfb from
# its own folder. Serial, because it rebuilds the package in the build directory (and whatever
# is not built yet: the package target builds everything first, hence the long time-out). Not in
# sanitizer builds: the archive is the host's program, not an instrumented one.
if(NOT VOSTREL_SANITIZE)
  add_test(NAME test_release_package
    COMMAND xvfb-run -a -s "-screen 0 1920x1080x24" ${CMAKE_CURRENT_LIST_DIR}/test_package.sh
      ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} ${VOSTREL_PACKAGE_FILE_NAME})
  set_tests_properties(test_release_package PROPERTIES TIMEOUT 600 RUN_SERIAL ON
    ENVIRONMENT "XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/test-runtime;QT_QPA_PLATFORM=xcb")
endif()
