# cmake -DDIR=... -DTEMPLATE=... -DSTIVRA_VERSION=... -DFILES=A,B,... -P stamp_build.cmake:
# writes DIR/sw.js from its template with the list of files it keeps (FILES,
# each in DIR) and the cache named by the version and a hash of those files,
# so that every build whose files differ gets a cache of its own.
string(REPLACE "," ";" FILES "${FILES}")
if(NOT FILES)
  message(FATAL_ERROR "stamp_build.cmake: no files to keep (-DFILES=...)")
endif()
set(ids "")
foreach(f IN LISTS FILES)
  if(NOT EXISTS ${DIR}/${f})
    message(FATAL_ERROR "stamp_build.cmake: ${DIR}/${f}, a file the worker keeps, is missing")
  endif()
  file(SHA256 ${DIR}/${f} h)
  string(APPEND ids "${f} ${h}\n")
endforeach()
string(SHA256 build "${ids}")
string(SUBSTRING ${build} 0 16 STIVRA_BUILD)
string(REPLACE ";" " " STIVRA_OFFLINE_FILES "${FILES}")
configure_file(${TEMPLATE} ${DIR}/sw.js @ONLY)
