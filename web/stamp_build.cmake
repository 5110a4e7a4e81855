# cmake -DDIR=... -DTEMPLATE=... -DSTIVRA_VERSION=... -P stamp_build.cmake:
# writes DIR/sw.js from its template with the cache named by the version and
# a hash of the files it keeps (the list in the template itself), so that
# every build whose files differ gets a cache of its own.
file(READ ${TEMPLATE} template)
string(REGEX MATCH "const FILES = \\[[^]]*\\]" list "${template}")
string(REGEX MATCHALL "'[^']+'" names "${list}")
if(NOT names)
  message(FATAL_ERROR "stamp_build.cmake: no list of files (const FILES = [...]) in ${TEMPLATE}")
endif()
set(ids "")
foreach(quoted ${names})
  string(REPLACE "'" "" f "${quoted}")
  # './' is the page itself, index.html.
  if(NOT f STREQUAL "./")
    file(SHA256 ${DIR}/${f} h)
    string(APPEND ids "${f} ${h}\n")
  endif()
endforeach()
string(SHA256 build "${ids}")
string(SUBSTRING ${build} 0 16 STIVRA_BUILD)
configure_file(${TEMPLATE} ${DIR}/sw.js @ONLY)
