# Files of text that a program carries inside it (the report page's style sheet
# and scripts): each becomes a C++ source defining `std::string_view FUNCTION()`
# in namespace scenario, which returns the file's bytes exactly. The source is
# written when CMake configures, and again whenever the file changes, since
# the build then configures anew.
function(embed_text_file input header function output)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${input})
  file(READ ${input} hex HEX)
  if(hex STREQUAL "")
    message(FATAL_ERROR "embed_text_file: ${input} is empty")
  endif()
  # One character literal a byte, 16 bytes a line.
  string(LENGTH "${hex}" hex_length)
  set(EMBED_BYTES "")
  foreach(at RANGE 0 ${hex_length} 32)
    string(SUBSTRING "${hex}" ${at} 32 piece)
    if(NOT piece STREQUAL "")
      string(REGEX REPLACE "(..)" " '\\\\x\\1'," piece "${piece}")
      string(APPEND EMBED_BYTES "   ${piece}\n")
    endif()
  endforeach()
  file(RELATIVE_PATH EMBED_SOURCE ${PROJECT_SOURCE_DIR} ${input})
  set(EMBED_HEADER ${header})
  set(EMBED_FUNCTION ${function})
  # Rewritten only when its text changes, so that nothing rebuilds for nothing.
  configure_file(${PROJECT_SOURCE_DIR}/cmake/embedded_text.cc.in ${output} @ONLY)
endfunction()

# The tool's embedded files, for every target that compiles the tool's sources
# (its library and the fuzz targets): SCENARIOC_EMBEDDED_SOURCES.
set(assets ${PROJECT_SOURCE_DIR}/tools/scenarioc/report/assets)
set(generated ${CMAKE_BINARY_DIR}/generated/scenarioc)
embed_text_file(${assets}/report.css scenarioc/report/report_assets.h report_style
                ${generated}/report_style.cc)
embed_text_file(${assets}/report.js scenarioc/report/report_assets.h report_script
                ${generated}/report_script.cc)
embed_text_file(${assets}/watch_reload.js scenarioc/report/report_assets.h watch_reload_script
                ${generated}/watch_reload_script.cc)
set(SCENARIOC_EMBEDDED_SOURCES ${generated}/report_style.cc ${generated}/report_script.cc
                               ${generated}/watch_reload_script.cc)
