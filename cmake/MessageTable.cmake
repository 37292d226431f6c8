# A message table (the texts the Event Viewer shows for a source's event IDs)
# compiled from a .mc file into a program's resources:
#
#   tidemark_message_table(<target> <file.mc>)
#
# The .mc file is UTF-8 (Japanese texts). It is copied into the build folder
# with CRLF line ends, as the messages keep the line ends they are written
# with and the Event Viewer breaks lines only at CRLF; the binutils message
# compiler reads it as code page 65001 and writes the messages as UTF-16
# (-U), and its .rc (LANGUAGE and MESSAGETABLE of the .bin beside it) joins
# the target's resources (the header it writes beside them is not used: the
# IDs are the code's, shared/events/SuiteEvents.h).
#
# MSVC: mc.exe takes the same .mc, but reads Unicode input only as UTF-16
# (-u), so that branch converts the copy first (not built on this project's
# machines; the MinGW branch is the one the tests cover).
include_guard(GLOBAL)

function(tidemark_message_table target mc)
  get_filename_component(name "${mc}" NAME_WE)
  set(dir "${CMAKE_CURRENT_BINARY_DIR}/${target}_messages")
  file(MAKE_DIRECTORY "${dir}")
  configure_file("${mc}" "${dir}/${name}.mc" @ONLY NEWLINE_STYLE CRLF)
  set(outputs "${dir}/${name}.rc" "${dir}/${name}.h" "${dir}/MSG00411.bin")
  if(MSVC)
    add_custom_command(OUTPUT ${outputs}
      COMMAND powershell -NoProfile -Command
        "Get-Content -Encoding UTF8 '${name}.mc' | Set-Content -Encoding Unicode '${name}.utf16.mc'"
      COMMAND "${CMAKE_MC_COMPILER}" -u -U -h . -r . -z ${name} ${name}.utf16.mc
      WORKING_DIRECTORY "${dir}"
      DEPENDS "${dir}/${name}.mc"
      COMMENT "Message table ${name}.mc")
  else()
    find_program(TIDEMARK_WINDMC NAMES x86_64-w64-mingw32-windmc windmc REQUIRED)
    add_custom_command(OUTPUT ${outputs}
      COMMAND "${TIDEMARK_WINDMC}" -C 65001 -U -h "${dir}" -r "${dir}" "${dir}/${name}.mc"
      DEPENDS "${dir}/${name}.mc"
      COMMENT "Message table ${name}.mc")
  endif()
  # The resource compiler finds the .bin beside the .rc; it reports no
  # dependencies of its own.
  set_property(SOURCE "${dir}/${name}.rc" TARGET_DIRECTORY ${target} PROPERTY GENERATED TRUE)
  set_property(SOURCE "${dir}/${name}.rc" TARGET_DIRECTORY ${target} APPEND PROPERTY OBJECT_DEPENDS "${dir}/MSG00411.bin")
  target_sources(${target} PRIVATE "${dir}/${name}.rc")
endfunction()
