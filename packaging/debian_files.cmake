# Run by CPack once it has installed the files into its staging folder: a
# Debian package also holds its own change log and the lintian overrides,
# which `cmake --install` leaves out.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
foreach(pair "${CPACK_SCENARIO_DEBIAN_CHANGELOG};share/doc/scenarioc/changelog.Debian.gz"
             "${CPACK_SCENARIO_LINTIAN_OVERRIDES};share/lintian/overrides/scenarioc")
  list(GET pair 0 source)
  list(GET pair 1 target)
  get_filename_component(folder ${root}/${target} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  file(COPY_FILE ${source} ${root}/${target})
  file(CHMOD ${root}/${target} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()
