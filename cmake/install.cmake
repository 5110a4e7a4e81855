# What "cmake --install" puts into a system under CMAKE_INSTALL_PREFIX: the
# game, its menu entry, the icon in the hicolor theme, the AppStream metadata,
# the manual page and the copyright. release.sh stages the Debian package
# with these rules (prefix /usr); Debian's own parts (the changelog, the
# control file, the compressed manual page) it adds itself.
if(NOT TARGET stivra)
  return()
endif()

# Fills in @VERSION@ and @DATE@ (the day, from SOURCE_DATE_EPOCH where it is
# set, as in a release) and refuses a template that names anything else.
function(stivra_fill_in template output)
  file(READ ${template} text)
  string(REGEX MATCHALL "@[A-Z_]+@" names "${text}")
  list(REMOVE_ITEM names @VERSION@ @DATE@)
  if(names)
    list(GET names 0 name)
    message(FATAL_ERROR "${template}: nothing fills in ${name}")
  endif()
  set(VERSION ${PROJECT_VERSION})
  string(TIMESTAMP DATE "%Y-%m-%d" UTC)
  configure_file(${template} ${output} @ONLY)
endfunction()

set(STIVRA_INSTALL_STAGE ${CMAKE_BINARY_DIR}/install-files)
set(STIVRA_DOC_DIR share/doc/${STIVRA_PACKAGE})

install(TARGETS stivra RUNTIME DESTINATION games)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${STIVRA_APP_ID}.desktop DESTINATION share/applications)
stivra_fill_in(${CMAKE_SOURCE_DIR}/packaging/${STIVRA_APP_ID}.metainfo.xml.in
  ${STIVRA_INSTALL_STAGE}/${STIVRA_APP_ID}.metainfo.xml)
install(FILES ${STIVRA_INSTALL_STAGE}/${STIVRA_APP_ID}.metainfo.xml DESTINATION share/metainfo)
stivra_fill_in(${CMAKE_SOURCE_DIR}/packaging/stivra.6.in ${STIVRA_INSTALL_STAGE}/stivra.6)
install(FILES ${STIVRA_INSTALL_STAGE}/stivra.6 DESTINATION share/man/man6)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${STIVRA_DOC_DIR})

# The icon at each size of the release facts, drawn by stivra-tool when the
# game is built.
foreach(size IN LISTS STIVRA_ICON_SIZES)
  set(icon ${STIVRA_INSTALL_STAGE}/icons/${size}x${size}/apps/stivra.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${STIVRA_INSTALL_STAGE}/icons/${size}x${size}/apps
    COMMAND stivra-tool png ${size} ${icon}
    DEPENDS stivra-tool
    COMMENT "Drawing the ${size}-pixel icon")
  list(APPEND STIVRA_ICONS ${icon})
  install(FILES ${icon} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(stivra_icons ALL DEPENDS ${STIVRA_ICONS})
