# Translations. Every translations/harvane_<language>.ts is compiled into
# bin/translations/harvane_<language>.qm, where the programs of a build tree
# find it, and installed into share/harvane/translations, where the installed
# programs find it. Adding a language is adding its .ts file: no code changes.

find_package(Qt6 6.4 QUIET COMPONENTS LinguistTools)

# The installed programs look from their own folder, so a package can be
# unpacked under any prefix.
file(RELATIVE_PATH HARVANE_TRANSLATIONS_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_FULL_DATADIR}/harvane/translations)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/app/Translations.cpp APPEND PROPERTY COMPILE_DEFINITIONS
  HARVANE_TRANSLATIONS_FROM_BINDIR="${HARVANE_TRANSLATIONS_FROM_BINDIR}")

# Compiles .ts files into OUTPUT_DIR; the .qm paths land in OUT_VAR.
function(harvane_compile_translations OUT_VAR OUTPUT_DIR)
  set(qm_files)
  foreach(ts IN LISTS ARGN)
    get_filename_component(name ${ts} NAME_WE)
    set(qm ${OUTPUT_DIR}/${name}.qm)
    add_custom_command(OUTPUT ${qm}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${OUTPUT_DIR}
      COMMAND Qt6::lrelease -silent ${ts} -qm ${qm}
      DEPENDS ${ts}
      COMMENT "Compiling the translation ${name}")
    list(APPEND qm_files ${qm})
  endforeach()
  set(${OUT_VAR} ${qm_files} PARENT_SCOPE)
endfunction()

file(GLOB HARVANE_TS_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/translations/harvane_*.ts)
set(HARVANE_SOURCE_FOLDERS app base cli data link logger widgets)

if(TARGET Qt6::lrelease)
  harvane_compile_translations(HARVANE_QM_FILES ${CMAKE_BINARY_DIR}/bin/translations
    ${HARVANE_TS_FILES})
  add_custom_target(harvane_translations ALL DEPENDS ${HARVANE_QM_FILES})
  install(FILES ${HARVANE_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/harvane/translations)
  if(HARVANE_TS_FILES AND TARGET Qt6::lupdate)
    # Brings every translation up to date with the texts in the code.
    add_custom_target(harvane_lupdate
      COMMAND Qt6::lupdate -I ${CMAKE_SOURCE_DIR} -locations relative ${HARVANE_SOURCE_FOLDERS}
        -ts ${HARVANE_TS_FILES}
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      COMMENT "Updating the translations from the sources")
  endif()
elseif(HARVANE_TS_FILES)
  message(WARNING "Qt Linguist tools not found (Debian: qt6-l10n-tools): translations are not built")
endif()
