# The browser build (emcmake): the game as stivra.js and stivra.wasm in
# web/ of the build folder, beside the page, its script and the icon.
set(STIVRA_WEB_DIR ${CMAKE_BINARY_DIR}/web)

file(GLOB STIVRA_WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/web/*.cpp)
add_executable(stivra ${STIVRA_WEB_SOURCES})
target_link_libraries(stivra PRIVATE stivra_core)
set_target_properties(stivra PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${STIVRA_WEB_DIR})
# Everything is fixed-size global data (about 12 MB of it) and the game
# allocates nothing while it runs: a fixed 32 MB never has to grow.
target_link_options(stivra PRIVATE -sENVIRONMENT=web -sINITIAL_MEMORY=33554432 -sALLOW_MEMORY_GROWTH=0)

# The page's own files (the release facts' WEB_PAGE_FILES), copied whenever
# they change.
stivra_web_page_files(STIVRA_WEB_SOURCE_PAGE_FILES)
set(STIVRA_OFFLINE_FILES ${STIVRA_WEB_BUILT_FILES})
foreach(source IN LISTS STIVRA_WEB_SOURCE_PAGE_FILES)
  get_filename_component(page_file ${source} NAME)
  add_custom_command(OUTPUT ${STIVRA_WEB_DIR}/${page_file}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${STIVRA_WEB_DIR}/${page_file}
    DEPENDS ${source})
  list(APPEND STIVRA_PAGE_FILES ${STIVRA_WEB_DIR}/${page_file})
  list(APPEND STIVRA_OFFLINE_FILES ${page_file})
endforeach()
list(SORT STIVRA_OFFLINE_FILES)
# Given to the stamp as one argument, the names between commas.
string(REPLACE ";" "," STIVRA_OFFLINE_FILES_TEXT "${STIVRA_OFFLINE_FILES}")
# The release's version for the page's line under the controls (version.js
# sets self.STIVRA_VERSION); the offline cache's name is stamped with it below.
configure_file(${CMAKE_SOURCE_DIR}/web/version.js.in ${STIVRA_WEB_DIR}/version.js @ONLY)
list(APPEND STIVRA_PAGE_FILES ${STIVRA_WEB_DIR}/version.js)

# The companion program (stivra_add_tool), built for Node.js with the real
# file system: it draws the favicon and the icons with the game's own icon
# code. Its PNGs are stored uncompressed (no zlib here); pack_png.mjs and
# home_icon.mjs deflate them with Node.js's own zlib.
# One file with the wasm inside: Node.js's own fetch cannot load a wasm path.
target_link_options(stivra-tool PRIVATE -sENVIRONMENT=node -sNODERAWFS=1 -sSINGLE_FILE=1
  -sINITIAL_MEMORY=33554432 -sALLOW_MEMORY_GROWTH=1)
find_program(STIVRA_NODE node REQUIRED)
# What the page shares with the game (the game modes, InputBits, the replay
# reader's limits and refusal codes, the sample rate), written by the game's
# own code from its headers: the page and its tests import it.
add_custom_command(OUTPUT ${STIVRA_WEB_DIR}/page_constants.js
  COMMAND ${STIVRA_NODE} $<TARGET_FILE:stivra-tool> page-constants ${STIVRA_WEB_DIR}/page_constants.js
  DEPENDS stivra-tool
  COMMENT "Writing the page's constants")
list(APPEND STIVRA_PAGE_FILES ${STIVRA_WEB_DIR}/page_constants.js)
add_custom_command(OUTPUT ${STIVRA_WEB_DIR}/stivra.ico
  COMMAND ${STIVRA_NODE} $<TARGET_FILE:stivra-tool> ico ${STIVRA_WEB_DIR}/stivra.ico
  DEPENDS stivra-tool
  COMMENT "Drawing the favicon")

# The web app manifest's icons, by the same code.
foreach(size 192 512)
  add_custom_command(OUTPUT ${STIVRA_WEB_DIR}/icon-${size}.png
    COMMAND ${STIVRA_NODE} $<TARGET_FILE:stivra-tool> png ${size} ${CMAKE_BINARY_DIR}/icon-${size}.png
    COMMAND ${STIVRA_NODE} ${CMAKE_SOURCE_DIR}/web/pack_png.mjs ${CMAKE_BINARY_DIR}/icon-${size}.png
            ${STIVRA_WEB_DIR}/icon-${size}.png
    DEPENDS stivra-tool ${CMAKE_SOURCE_DIR}/web/pack_png.mjs ${CMAKE_SOURCE_DIR}/web/png_chunk.mjs
    COMMENT "Drawing the ${size}-pixel app icon")
  list(APPEND STIVRA_PAGE_FILES ${STIVRA_WEB_DIR}/icon-${size}.png)
endforeach()

# The icons of a phone's home screen, opaque with room around the face: the
# 4x icon on 180 pixels for iOS, the 8x one on 512 as Android's maskable icon.
foreach(icon "apple-touch-icon;128;180" "icon-maskable-512;256;512")
  list(GET icon 0 name)
  list(GET icon 1 drawn)
  list(GET icon 2 size)
  add_custom_command(OUTPUT ${STIVRA_WEB_DIR}/${name}.png
    COMMAND ${STIVRA_NODE} $<TARGET_FILE:stivra-tool> png ${drawn} ${CMAKE_BINARY_DIR}/${name}-face.png
    COMMAND ${STIVRA_NODE} ${CMAKE_SOURCE_DIR}/web/home_icon.mjs ${CMAKE_BINARY_DIR}/${name}-face.png ${size}
            ${STIVRA_WEB_DIR}/${name}.png
    DEPENDS stivra-tool ${CMAKE_SOURCE_DIR}/web/home_icon.mjs ${CMAKE_SOURCE_DIR}/web/png_chunk.mjs
    COMMENT "Drawing the home screen icon ${name}.png")
  list(APPEND STIVRA_PAGE_FILES ${STIVRA_WEB_DIR}/${name}.png)
endforeach()

add_custom_target(stivra_page ALL DEPENDS ${STIVRA_PAGE_FILES} ${STIVRA_WEB_DIR}/stivra.ico)
add_dependencies(stivra stivra_page)

# The offline cache's worker, named by the build and keeping every file of
# the page: stamped on every build, as it is cheap and must follow any change
# of the page's files.
add_custom_target(stivra_offline ALL
  COMMAND ${CMAKE_COMMAND} -DDIR=${STIVRA_WEB_DIR} -DTEMPLATE=${CMAKE_SOURCE_DIR}/web/${STIVRA_WEB_WORKER}
          -DSTIVRA_VERSION=${PROJECT_VERSION} -DFILES=${STIVRA_OFFLINE_FILES_TEXT}
          -P ${CMAKE_SOURCE_DIR}/web/stamp_build.cmake
  COMMENT "Naming the offline cache")
add_dependencies(stivra_offline stivra stivra_page)
