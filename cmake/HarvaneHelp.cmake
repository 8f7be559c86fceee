# The help files, built from help/ and placed beside the program:
#
#   Zorvath<ext>       F1 and right-click help of most dialogs
#   hlp/Zorvath<ext>   F1 help of two base-station dialogs
#   harvane<ext>       the main window's help, named like the program file
#
# With Qt Help each is a collection (.qhc) that finds the compressed help
# (Zorvath.qch) beside itself; without it, the same pages packed in one Qt
# resource file (.rcc) and shown as plain HTML. Both kinds are always built
# into ${HARVANE_HELP_BUILD_DIR} (the tests use them); the program's kind goes
# beside the program.
#
# Installed (at the end of this file), HARVANE_HELP_PROGRAM_FILES go into
# share/harvane/help and HARVANE_HELP_HLP_FILES into its "hlp" folder (also
# the properties HARVANE_PROGRAM_FILES and HARVANE_HLP_FILES of the target
# harvane_help_files).
#
# The viewer: Qt Help where it is there (Debian: qt6-tools-dev, and for
# qhelpgenerator qt6-documentation-tools; reading a collection takes Qt's
# SQLite driver, libqt6sql6-sqlite), otherwise plain HTML pages.
# HARVANE_HAVE_QTHELP says which.

option(HARVANE_QTHELP "Build the help as Qt Help collections where Qt Help is found" ON)
set(HARVANE_HAVE_QTHELP OFF)
if(HARVANE_QTHELP)
  find_package(Qt6 6.4 QUIET COMPONENTS Help Sql ToolsTools)
  if(TARGET Qt6::Help AND TARGET Qt6::Sql AND TARGET Qt6::qhelpgenerator)
    set(HARVANE_HAVE_QTHELP ON)
  endif()
endif()
if(NOT HARVANE_HAVE_QTHELP)
  message(STATUS "Help: plain HTML pages (no Qt Help)")
endif()

set(HARVANE_HELP_SOURCE_DIR ${CMAKE_SOURCE_DIR}/help)
set(HARVANE_HELP_BUILD_DIR ${CMAKE_BINARY_DIR}/help)
set(HARVANE_HELP_PROGRAM_DIR ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})

file(GLOB_RECURSE harvane_help_sources CONFIGURE_DEPENDS
  RELATIVE ${HARVANE_HELP_SOURCE_DIR}
  ${HARVANE_HELP_SOURCE_DIR}/*.html ${HARVANE_HELP_SOURCE_DIR}/*.css
  ${HARVANE_HELP_SOURCE_DIR}/*.txt ${HARVANE_HELP_SOURCE_DIR}/*.qhp
  ${HARVANE_HELP_SOURCE_DIR}/*.qhcp)
list(SORT harvane_help_sources)

# The pages are copied first: the tools write beside their inputs.
set(harvane_help_staged)
set(harvane_help_inputs)
foreach(file IN LISTS harvane_help_sources)
  list(APPEND harvane_help_inputs ${HARVANE_HELP_SOURCE_DIR}/${file})
  list(APPEND harvane_help_staged ${HARVANE_HELP_BUILD_DIR}/${file})
  add_custom_command(OUTPUT ${HARVANE_HELP_BUILD_DIR}/${file}
    COMMAND ${CMAKE_COMMAND} -E copy ${HARVANE_HELP_SOURCE_DIR}/${file}
            ${HARVANE_HELP_BUILD_DIR}/${file}
    DEPENDS ${HARVANE_HELP_SOURCE_DIR}/${file}
    VERBATIM)
endforeach()

# The plain-HTML help: every page, the popup texts and the project (for its
# contents, index and F1 identifiers) in one resource file.
set(harvane_help_qrc "<RCC>\n  <qresource prefix=\"/\">\n")
foreach(file IN LISTS harvane_help_sources)
  if(NOT file MATCHES "\\.qhcp$")
    string(APPEND harvane_help_qrc "    <file>${file}</file>\n")
  endif()
endforeach()
string(APPEND harvane_help_qrc "  </qresource>\n</RCC>\n")
file(CONFIGURE OUTPUT ${HARVANE_HELP_BUILD_DIR}/Zorvath.qrc CONTENT "${harvane_help_qrc}")
add_custom_command(OUTPUT ${HARVANE_HELP_BUILD_DIR}/Zorvath.rcc
  COMMAND Qt6::rcc --binary --compress-algo zlib -o ${HARVANE_HELP_BUILD_DIR}/Zorvath.rcc
          ${HARVANE_HELP_BUILD_DIR}/Zorvath.qrc
  DEPENDS ${harvane_help_staged} ${HARVANE_HELP_BUILD_DIR}/Zorvath.qrc
  WORKING_DIRECTORY ${HARVANE_HELP_BUILD_DIR}
  COMMENT "Packing the help pages"
  VERBATIM)
set(harvane_help_built ${HARVANE_HELP_BUILD_DIR}/Zorvath.rcc)

if(HARVANE_HAVE_QTHELP)
  add_custom_command(OUTPUT ${HARVANE_HELP_BUILD_DIR}/Zorvath.qhc ${HARVANE_HELP_BUILD_DIR}/Zorvath.qch
    COMMAND ${CMAKE_COMMAND} -E rm -f ${HARVANE_HELP_BUILD_DIR}/Zorvath.qhc
            ${HARVANE_HELP_BUILD_DIR}/Zorvath.qch
    COMMAND Qt6::qhelpgenerator -s ${HARVANE_HELP_BUILD_DIR}/Zorvath.qhcp
            -o ${HARVANE_HELP_BUILD_DIR}/Zorvath.qhc
    DEPENDS ${harvane_help_staged}
    WORKING_DIRECTORY ${HARVANE_HELP_BUILD_DIR}
    COMMENT "Compiling the help collection"
    VERBATIM)
  list(APPEND harvane_help_built ${HARVANE_HELP_BUILD_DIR}/Zorvath.qhc
       ${HARVANE_HELP_BUILD_DIR}/Zorvath.qch)
  set(harvane_help_files Zorvath.qhc Zorvath.qch)
  set(harvane_help_ext .qhc)
else()
  set(harvane_help_files Zorvath.rcc)
  set(harvane_help_ext .rcc)
endif()

# Beside the program: "Zorvath" in its folder and in "hlp", and the main
# help under the program's name (a collection finds Zorvath.qch beside it).
set(HARVANE_HELP_PROGRAM_FILES)
set(HARVANE_HELP_HLP_FILES)
set(harvane_help_placed)
foreach(file IN LISTS harvane_help_files)
  list(APPEND HARVANE_HELP_PROGRAM_FILES ${HARVANE_HELP_BUILD_DIR}/${file})
  list(APPEND HARVANE_HELP_HLP_FILES ${HARVANE_HELP_BUILD_DIR}/${file})
  list(APPEND harvane_help_placed ${HARVANE_HELP_PROGRAM_DIR}/${file}
       ${HARVANE_HELP_PROGRAM_DIR}/hlp/${file})
endforeach()
set(harvane_main_help ${HARVANE_HELP_BUILD_DIR}/harvane${harvane_help_ext})
list(APPEND HARVANE_HELP_PROGRAM_FILES ${harvane_main_help})
list(APPEND harvane_help_placed ${HARVANE_HELP_PROGRAM_DIR}/harvane${harvane_help_ext})

add_custom_command(OUTPUT ${harvane_main_help}
  COMMAND ${CMAKE_COMMAND} -E copy ${HARVANE_HELP_BUILD_DIR}/Zorvath${harvane_help_ext}
          ${harvane_main_help}
  DEPENDS ${HARVANE_HELP_BUILD_DIR}/Zorvath${harvane_help_ext}
  VERBATIM)
add_custom_command(OUTPUT ${harvane_help_placed}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${HARVANE_HELP_PROGRAM_DIR}/hlp
  COMMAND ${CMAKE_COMMAND} -E copy ${HARVANE_HELP_PROGRAM_FILES} ${HARVANE_HELP_PROGRAM_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${HARVANE_HELP_HLP_FILES} ${HARVANE_HELP_PROGRAM_DIR}/hlp
  DEPENDS ${harvane_help_built} ${harvane_main_help}
  COMMENT "Placing the help beside the program"
  VERBATIM)

# ("help" itself is a name CMake keeps for its own target.)
add_custom_target(harvane_help_files ALL DEPENDS ${harvane_help_built} ${harvane_help_placed})
set_target_properties(harvane_help_files PROPERTIES
  HARVANE_PROGRAM_FILES "${HARVANE_HELP_PROGRAM_FILES}"
  HARVANE_HLP_FILES "${HARVANE_HELP_HLP_FILES}")

# Installed, the help goes into share/harvane/help (a bin folder holds only
# programs); the installed program looks there, from its own folder.
set(HARVANE_HELP_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/harvane/help)
file(RELATIVE_PATH HARVANE_HELP_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_PREFIX}/${HARVANE_HELP_INSTALL_DIR})
set_property(SOURCE ${CMAKE_SOURCE_DIR}/app/HelpFiles.cpp APPEND PROPERTY COMPILE_DEFINITIONS
  HARVANE_HELP_FROM_BINDIR="${HARVANE_HELP_FROM_BINDIR}")
install(FILES ${HARVANE_HELP_PROGRAM_FILES} DESTINATION ${HARVANE_HELP_INSTALL_DIR})
install(FILES ${HARVANE_HELP_HLP_FILES} DESTINATION ${HARVANE_HELP_INSTALL_DIR}/hlp)
