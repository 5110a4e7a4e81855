# The Windows program: one statically linked stivra.exe with its icon.

# The icon is drawn by the game's own code: a native stivra-tool is built
# with the host compiler and writes the .ico that the resource embeds.
stivra_host_tool(host_tools ${CMAKE_BINARY_DIR}/host-tools)
set(STIVRA_ICO ${CMAKE_BINARY_DIR}/stivra.ico)
add_custom_command(OUTPUT ${STIVRA_ICO}
  COMMAND ${CMAKE_BINARY_DIR}/host-tools/stivra-tool ico ${STIVRA_ICO}
  DEPENDS host_tools
  COMMENT "Drawing the program icon")
add_custom_target(stivra_icon DEPENDS ${STIVRA_ICO})
# windres looks for the icon from its working directory: give it the full path.
configure_file(${CMAKE_SOURCE_DIR}/src/platform/win32/stivra.rc.in ${CMAKE_BINARY_DIR}/stivra.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/stivra.rc PROPERTIES OBJECT_DEPENDS ${STIVRA_ICO})

enable_language(RC)
file(GLOB STIVRA_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/win32/*.cpp)
add_executable(stivra WIN32 ${STIVRA_WIN32_SOURCES} ${CMAKE_BINARY_DIR}/stivra.rc)
add_dependencies(stivra stivra_icon)
target_link_libraries(stivra PRIVATE stivra_core user32 gdi32 winmm)
target_link_options(stivra PRIVATE -s)

# The smoke run under Wine: five seconds of scripted play must leave a
# 960x600 screenshot behind.
enable_testing()
add_test(NAME windows.autoplay
  COMMAND ${CMAKE_SOURCE_DIR}/tests/autoplay_windows.sh $<TARGET_FILE:stivra> ${CMAKE_BINARY_DIR}/autoplay_windows.bmp)
set_tests_properties(windows.autoplay PROPERTIES TIMEOUT 300)
# Resized from outside, the window letterboxes at its new size, and Escape
# then ends the program cleanly (repeated: a crash at exit may be rare).
add_test(NAME windows.resize_then_quit
  COMMAND sh ${CMAKE_SOURCE_DIR}/tests/resize_windows.sh $<TARGET_FILE:stivra> ${CMAKE_BINARY_DIR}/resize 3)
set_tests_properties(windows.resize_then_quit PROPERTIES TIMEOUT 300)
# P, M and the loss of focus: the pause sign, silence, and a record without
# the paused stretches that replays natively to the game's end.
add_test(NAME windows.pause
  COMMAND sh ${CMAKE_SOURCE_DIR}/tests/pause_game.sh windows $<TARGET_FILE:stivra>
          ${CMAKE_BINARY_DIR}/host-tools/stivra-tool ${CMAKE_BINARY_DIR}/pause)
set_tests_properties(windows.pause PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
# A game given up with Escape and quit is kept in %LOCALAPPDATA%, and C on
# the title continues it on the pass before Escape; -resume FILE as well.
add_test(NAME windows.continue
  COMMAND sh ${CMAKE_SOURCE_DIR}/tests/continue_game.sh windows $<TARGET_FILE:stivra>
          ${CMAKE_BINARY_DIR}/host-tools/stivra-tool ${CMAKE_BINARY_DIR}/continue)
set_tests_properties(windows.continue PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)
# With no X server there is no window: exit code 1, and the tools still work.
add_test(NAME windows.no_display
  COMMAND sh ${CMAKE_SOURCE_DIR}/tests/no_display_windows.sh $<TARGET_FILE:stivra> ${CMAKE_BINARY_DIR}/no_display)
set_tests_properties(windows.no_display PROPERTIES TIMEOUT 300)
add_test(NAME windows.imports
  COMMAND ${CMAKE_SOURCE_DIR}/tests/check_imports.sh $<TARGET_FILE:stivra>)

# The companion tool as a console program, so that a recorded run can be
# replayed by the Windows build and compared with the native one. It is
# defined with every build's (stivra_add_tool in the main CMakeLists.txt).
target_link_options(stivra-tool PRIVATE -s)

# The same replays give the same JSON (and GameState hash) on both builds,
# and a run recorded by the Windows game replays to the hash it ended on.
add_test(NAME windows.replays
  COMMAND ${CMAKE_SOURCE_DIR}/tests/replays_windows.sh $<TARGET_FILE:stivra-tool>
          ${CMAKE_BINARY_DIR}/host-tools/stivra-tool $<TARGET_FILE:stivra>
          ${CMAKE_SOURCE_DIR}/tests/replays ${CMAKE_BINARY_DIR}/replays)
set_tests_properties(windows.replays PROPERTIES TIMEOUT 600)

# Failed writes are failures on Windows too.
add_test(NAME windows.write_failures
  COMMAND sh ${CMAKE_SOURCE_DIR}/tests/write_failures_windows.sh $<TARGET_FILE:stivra>
          $<TARGET_FILE:stivra-tool> ${CMAKE_BINARY_DIR}/write_failures)
set_tests_properties(windows.write_failures PROPERTIES TIMEOUT 300)

# Every Wine run shares one prefix beside the build (about 700 MB), made once
# by this first test.
add_test(NAME windows.wine_prefix COMMAND sh ${CMAKE_SOURCE_DIR}/cmake/wine-prefix.sh)
set_tests_properties(windows.wine_prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300
  ENVIRONMENT WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix)
set_tests_properties(windows.autoplay windows.resize_then_quit windows.no_display windows.replays
  windows.write_failures PROPERTIES FIXTURES_REQUIRED wine_prefix
  ENVIRONMENT WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix)
