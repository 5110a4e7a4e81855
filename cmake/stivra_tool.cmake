# stivra-tool, the companion program, is built the same way by every build:
# natively, for Windows (MinGW-w64) and for Node.js (emscripten). Native and
# cross builds alike also need a stivra-tool that runs on the build machine
# to draw icons and replay runs: stivra_host_tool builds one beside them.

# stivra_add_tool(): the stivra-tool target, with the auto-player and the
# sound renderer. Its PNGs are deflated through zlib where the build machine
# has it for this target (the native build); the cross builds store them.
function(stivra_add_tool)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/tools/stivra_tool*.cpp)
  add_executable(stivra-tool ${sources} ${CMAKE_SOURCE_DIR}/src/tools/png.cpp)
  target_link_libraries(stivra-tool PRIVATE stivra_autoplayer stivra_sound_render stivra_core)
  set(deflates 0)
  if(NOT EMSCRIPTEN AND NOT WIN32)
    find_package(ZLIB)
    if(ZLIB_FOUND)
      set(deflates 1)
      target_link_libraries(stivra-tool PRIVATE ZLIB::ZLIB)
    else()
      message(WARNING "zlib not found (install zlib1g-dev): stivra-tool writes its PNGs uncompressed")
    endif()
  endif()
  set_source_files_properties(${CMAKE_SOURCE_DIR}/src/tools/png.cpp PROPERTIES
    COMPILE_DEFINITIONS STIVRA_ZLIB=${deflates})
  set(STIVRA_TOOL_DEFLATES ${deflates} PARENT_SCOPE)
endfunction()

# stivra_host_tool(TARGET BINARY_DIR): an optimised stivra-tool for the build
# machine, configured and built in BINARY_DIR (BINARY_DIR/stivra-tool) every
# time TARGET is built.
function(stivra_host_tool target binary_dir)
  include(ExternalProject)
  # A make recipe that names $(MAKE) is a recursive make and shares the
  # parent's jobserver; "cmake --build" from a recipe would not (make warns
  # and builds with one job).
  if(CMAKE_GENERATOR MATCHES "Makefiles")
    set(build $(MAKE) stivra-tool)
  else()
    set(build ${CMAKE_COMMAND} --build <BINARY_DIR> --target stivra-tool)
  endif()
  ExternalProject_Add(${target}
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${binary_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DSTIVRA_TESTS=OFF -DSTIVRA_BENCH=OFF -DSTIVRA_GAME=OFF
      -DSTIVRA_WERROR=${STIVRA_WERROR}
    BUILD_COMMAND ${build}
    INSTALL_COMMAND ""
    BUILD_ALWAYS 1)
endfunction()
