# The release: a portable folder "vostrel/" that a host carries to the venue, laid out by the
# install rules and packed by CPack.
#
#   cmake --install build --prefix DIR      gives DIR/vostrel/...
#   cmake --build build --target package    gives build/vostrel-<version>-Linux-x86_64.tar.gz and .zip
#
# The folder holds the program, a sample roster, the host's instructions, a desktop entry with
# its launcher and icon. The program reads and writes its files beside its own executable, so
# the folder is the run directory wherever it is unpacked.

set(VOSTREL_VERSION 1.0.0)
set(VOSTREL_RELEASE_DIR vostrel)
set(VOSTREL_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)

install(TARGETS vostrel RUNTIME DESTINATION ${VOSTREL_RELEASE_DIR})
install(PROGRAMS ${VOSTREL_PACKAGING_DIR}/vostrel.sh DESTINATION ${VOSTREL_RELEASE_DIR})
install(FILES
  ${CMAKE_SOURCE_DIR}/share/配置.ini
  ${VOSTREL_PACKAGING_DIR}/使用说明.txt
  ${VOSTREL_PACKAGING_DIR}/vostrel.desktop
  ${VOSTREL_PACKAGING_DIR}/vostrel.png
  DESTINATION ${VOSTREL_RELEASE_DIR})

set(CPACK_GENERATOR TGZ ZIP)
set(CPACK_PACKAGE_NAME vostrel)
set(CPACK_PACKAGE_VENDOR "Vostrel")
set(CPACK_PACKAGE_VERSION ${VOSTREL_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Prize-draw program for the host of an event")
set(VOSTREL_PACKAGE_FILE_NAME vostrel-${VOSTREL_VERSION}-Linux-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_PACKAGE_FILE_NAME ${VOSTREL_PACKAGE_FILE_NAME})
# The install rules already put everything under vostrel/; no second top-level folder.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# The debug information stays in the build; the host gets a small program.
set(CPACK_STRIP_FILES ON)
include(CPack)

include(${CMAKE_SOURCE_DIR}/tests/release/extra.cmake)
