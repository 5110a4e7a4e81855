# cmake -DDIR=... -DTEMPLATE=... -DSTIVRA_VERSION=... -P stamp_build.cmake:
# writes DIR/sw.js from its template with the cache named by the version and
# a hash of the page's files, so that every build whose files differ gets a
# cache of its own.
set(ids "")
foreach(f index.html page.js phone.js stivra.js stivra.wasm manifest.webmanifest version.js)
  file(SHA256 ${DIR}/${f} h)
  string(APPEND ids ${h})
endforeach()
string(SHA256 build "${ids}")
string(SUBSTRING ${build} 0 16 STIVRA_BUILD)
configure_file(${TEMPLATE} ${DIR}/sw.js @ONLY)
