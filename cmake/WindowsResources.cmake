# The Windows resources of a program: its icon, made from the XPM picture that its window shows,
# and a VERSIONINFO block naming the program and the version its About box shows.
# Elsewhere this does nothing.
function(mirvel_windows_resources target)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "ICON;VERSION;DESCRIPTION" "")
  set(ico ${CMAKE_CURRENT_BINARY_DIR}/${target}.ico)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  find_program(MIRVEL_MAGICK NAMES magick convert)
  if(MIRVEL_MAGICK)
    # 32 and 16 pixels: Explorer's large and small icons.
    add_custom_command(OUTPUT ${ico}
      COMMAND ${MIRVEL_MAGICK} ${arg_ICON} -define icon:auto-resize=32,16 ${ico}
      DEPENDS ${arg_ICON}
      COMMENT "Making ${target}.ico")
    set(MIRVEL_ICON_LINE "1 ICON \"${target}.ico\"")
  else()
    message(WARNING "ImageMagick is missing: ${target}.exe gets no icon of its own")
    set(MIRVEL_ICON_LINE "")
  endif()
  string(REPLACE "." "," version_commas "${arg_VERSION}")
  set(MIRVEL_TARGET ${target})
  set(MIRVEL_VERSION ${arg_VERSION})
  set(MIRVEL_VERSION_COMMAS ${version_commas})
  set(MIRVEL_DESCRIPTION ${arg_DESCRIPTION})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/program.rc.in ${rc} @ONLY)
  if(MIRVEL_MAGICK)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${ico})
  endif()
  target_sources(${target} PRIVATE ${rc})
endfunction()
