# The library for developers: the shared library, its public headers, the CMake package
# (find_package(Tolvane) and Tolvane::tolvane) and the pkg-config file. Included from
# packaging/CMakeLists.txt, after the top level has included GNUInstallDirs.
#
# Components: `runtime` holds what a user of the programs needs (the programs, the library with
# its SONAME link, the data), `dev` what a developer building on the library needs (the headers,
# the unversioned link the linker looks for, the CMake package and the .pc file).
include(CMakePackageConfigHelpers)

set(TOLVANE_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tolvane)

# The installed programs find the installed library beside them by a path relative to their own
# folder: in a standard libdir the loader finds it anyway, and an installation anywhere else (a
# prefix of one's own, an unpacked package) still runs.
file(RELATIVE_PATH TOLVANE_LIBDIR_FROM_PROGRAM /prefix/${CMAKE_INSTALL_BINDIR}
     /prefix/${CMAKE_INSTALL_LIBDIR})
function(tolvane_install_program target)
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${TOLVANE_LIBDIR_FROM_PROGRAM}")
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
endfunction()

# The library: libtolvane.so.<version> and its SONAME link for the programs, the unversioned
# namelink for the linker of those who build on it.
install(TARGETS tolvane EXPORT TolvaneTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# Only include/tolvane is the public interface; the headers of the layers stay inside.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/tolvane DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  COMPONENT dev FILES_MATCHING PATTERN "*.h")

# The CMake package: find_package(Tolvane 1) accepts any 1.x, the SONAME's promise.
install(EXPORT TolvaneTargets NAMESPACE Tolvane:: FILE TolvaneTargets.cmake
  DESTINATION ${TOLVANE_CMAKE_PACKAGE_DIR} COMPONENT dev)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/TolvaneConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/TolvaneConfig.cmake
  INSTALL_DESTINATION ${TOLVANE_CMAKE_PACKAGE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/TolvaneConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TolvaneConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/TolvaneConfigVersion.cmake
  DESTINATION ${TOLVANE_CMAKE_PACKAGE_DIR} COMPONENT dev)

# The pkg-config file names absolute folders, so its prefix is the one installed to, known only
# when installing (`cmake --install --prefix`, cpack's /usr): the version and the folders are
# written now, the prefix by the install step.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(TOLVANE_PC_LIBDIR "${CMAKE_INSTALL_LIBDIR}")
else()
  set(TOLVANE_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(TOLVANE_PC_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}")
else()
  set(TOLVANE_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
set(TOLVANE_PC_PREFIX "@TOLVANE_PC_PREFIX@")  # left for the install step
set(TOLVANE_PC_TEMPLATE ${CMAKE_CURRENT_BINARY_DIR}/tolvane.pc.in)
set(TOLVANE_PC ${CMAKE_CURRENT_BINARY_DIR}/pkgconfig/tolvane.pc)
configure_file(${CMAKE_SOURCE_DIR}/cmake/tolvane.pc.in ${TOLVANE_PC_TEMPLATE} @ONLY)
install(CODE "set(TOLVANE_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
  configure_file(\"${TOLVANE_PC_TEMPLATE}\" \"${TOLVANE_PC}\" @ONLY)" COMPONENT dev)
install(FILES ${TOLVANE_PC} DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
