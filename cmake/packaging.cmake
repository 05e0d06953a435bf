# What `cmake --install` puts where, and the packages CPack makes of it: on
# Linux a Debian package of scenarioc, from the Windows cross build a zip of
# both programs. Included by the top CMakeLists.txt; scripts/package.sh makes
# both packages.
include(GNUInstallDirs)

set(SCENARIO_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(SCENARIO_GENERATED_DIR ${CMAKE_BINARY_DIR}/packaging)
set(SCENARIO_PACKAGE_MAINTAINER "scenarioc maintainers <maintainers@users.noreply.c-seed-119f742e.example>"
  CACHE STRING "The Maintainer of the Debian package: NAME <ADDRESS>")

# The version's date is that of its heading in CHANGELOG.md, so that a build
# of the same sources makes the same manual page and package.
string(REPLACE "." "\\." version_pattern ${PROJECT_VERSION})
file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG.md version_heading
  REGEX "^## \\[${version_pattern}\\] - [0-9]+-[0-9]+-[0-9]+$")
if(NOT version_heading MATCHES "([0-9]+-[0-9]+-[0-9]+)$")
  message(FATAL_ERROR "CHANGELOG.md has no heading '## [${PROJECT_VERSION}] - YYYY-MM-DD' for the "
                      "version that project() sets")
endif()
set(SCENARIO_VERSION_DATE ${CMAKE_MATCH_1})

# The documents for authors that the read-me links to.
set(SCENARIO_AUTHOR_DOCS ${PROJECT_SOURCE_DIR}/docs/source-format.md
  ${PROJECT_SOURCE_DIR}/docs/compiled-files.md ${PROJECT_SOURCE_DIR}/docs/editors.md
  ${PROJECT_SOURCE_DIR}/docs/timetable.md)

configure_file(${SCENARIO_PACKAGING_DIR}/scenarioc.1.in ${SCENARIO_GENERATED_DIR}/scenarioc.1 @ONLY)

set(CPACK_PACKAGE_NAME scenarioc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "scenario compiler for a train-driving simulator")
set(CPACK_STRIP_FILES ON)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
  GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  # One folder of its own: the two programs beside a read-me, the documents
  # as text with Windows line ends.
  install(TARGETS scenarioc velmora_dorsel RUNTIME DESTINATION .)
  set(windows_texts "")
  function(add_windows_text source target)
    set(output ${SCENARIO_GENERATED_DIR}/windows/${target})
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -DSOURCE=${source} -DTARGET=${output}
              -P ${PROJECT_SOURCE_DIR}/cmake/windows_text.cmake
      DEPENDS ${source} ${PROJECT_SOURCE_DIR}/cmake/windows_text.cmake VERBATIM)
    set(windows_texts ${windows_texts} ${output} PARENT_SCOPE)
  endfunction()
  configure_file(${SCENARIO_PACKAGING_DIR}/README-windows.txt.in
    ${SCENARIO_GENERATED_DIR}/README-windows.txt @ONLY)
  add_windows_text(${SCENARIO_GENERATED_DIR}/README-windows.txt README.txt)
  add_windows_text(${SCENARIO_PACKAGING_DIR}/copyright docs/COPYRIGHT.txt)
  add_windows_text(${PROJECT_SOURCE_DIR}/README.md docs/README.txt)
  add_windows_text(${PROJECT_SOURCE_DIR}/CHANGELOG.md docs/CHANGELOG.txt)
  foreach(doc ${SCENARIO_AUTHOR_DOCS})
    get_filename_component(name ${doc} NAME_WE)
    add_windows_text(${doc} docs/${name}.txt)
  endforeach()
  # The manual page as plain text, formatted by groff on the build machine.
  find_program(GROFF groff REQUIRED)
  set(manual_text ${SCENARIO_GENERATED_DIR}/scenarioc-manual.txt)
  add_custom_command(OUTPUT ${manual_text}
    COMMAND ${GROFF} -man -Tascii -P-cbou ${SCENARIO_GENERATED_DIR}/scenarioc.1 > ${manual_text}
    DEPENDS ${SCENARIO_GENERATED_DIR}/scenarioc.1)
  add_windows_text(${manual_text} docs/scenarioc-manual.txt)
  add_custom_target(scenarioc_package_files ALL DEPENDS ${windows_texts})
  install(FILES ${SCENARIO_GENERATED_DIR}/windows/README.txt DESTINATION .)
  install(DIRECTORY ${SCENARIO_GENERATED_DIR}/windows/docs DESTINATION .)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME scenarioc-${PROJECT_VERSION}-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/scenarioc)
  execute_process(COMMAND date -u -R -d "${SCENARIO_VERSION_DATE} 00:00:00"
    OUTPUT_VARIABLE SCENARIO_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  configure_file(${SCENARIO_PACKAGING_DIR}/changelog.Debian.in
    ${SCENARIO_GENERATED_DIR}/changelog.Debian @ONLY)
  # Compressed as Debian has them: gzip -9n keeps no name and no time.
  set(compressed "")
  foreach(pair "scenarioc.1;${SCENARIO_GENERATED_DIR}/scenarioc.1"
               "changelog.Debian;${SCENARIO_GENERATED_DIR}/changelog.Debian"
               "changelog;${PROJECT_SOURCE_DIR}/CHANGELOG.md")
    list(GET pair 0 name)
    list(GET pair 1 source)
    add_custom_command(OUTPUT ${SCENARIO_GENERATED_DIR}/${name}.gz
      COMMAND gzip -9n < ${source} > ${SCENARIO_GENERATED_DIR}/${name}.gz
      DEPENDS ${source})
    list(APPEND compressed ${SCENARIO_GENERATED_DIR}/${name}.gz)
  endforeach()
  add_custom_target(scenarioc_package_files ALL DEPENDS ${compressed})

  install(TARGETS scenarioc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # A stripped install (cmake --install --strip, and CPack) also drops the
  # sections that only say which compiler made the program, as Debian's own
  # packages do.
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/scenarioc\"
        COMMAND_ERROR_IS_FATAL ANY)
    endif()")
  install(FILES ${SCENARIO_GENERATED_DIR}/scenarioc.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${SCENARIO_PACKAGING_DIR}/scenarioc.bash
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions RENAME scenarioc)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${SCENARIO_PACKAGING_DIR}/copyright
    ${SCENARIO_GENERATED_DIR}/changelog.gz DESTINATION ${doc_dir})
  install(FILES ${SCENARIO_AUTHOR_DOCS} ${PROJECT_SOURCE_DIR}/docs/report.png
    DESTINATION ${doc_dir}/docs)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PRE_BUILD_SCRIPTS ${SCENARIO_PACKAGING_DIR}/debian_files.cmake)
  set(CPACK_SCENARIO_DEBIAN_CHANGELOG ${SCENARIO_GENERATED_DIR}/changelog.Debian.gz)
  set(CPACK_SCENARIO_LINTIAN_OVERRIDES ${SCENARIO_PACKAGING_DIR}/lintian-overrides)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SCENARIO_PACKAGE_MAINTAINER})
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The dependencies as dpkg-shlibdeps finds them: the C++ run-time library is
  # linked in, so the C library alone.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is what follows it.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "scenarioc compiles the two source files of a scenario (the line and the
train) into the three binary files the simulator loads, checks whole
collections of scenarios for errors and warnings, decodes compiled files,
draws a scenario as a self-contained HTML page, compiles again at every save
and serves editors as a language server.")
endif()

include(CPack)
