# The facts of a release that the scripts and the builds share: the names of
# the downloads, what each holds, the icon sizes and the page's files.
#
# Read by release.sh and tests/release_check.sh (sourced by sh) and by CMake
# (cmake/release_facts.cmake), so it holds nothing but NAME="VALUE" lines,
# comments and blank lines; a list is its words. In the file names VERSION
# stands for the project version and ARCH for the Debian architecture.

PACKAGE="st-ivra-schule"
# The desktop entry's and the AppStream metadata's name.
APP_ID="de.stivra.StIvraSchule"

WINDOWS_ZIP="st-ivra-schule-VERSION-windows-x64.zip"
DEB="st-ivra-schule_VERSION_ARCH.deb"
WEB_ZIP="st-ivra-schule-VERSION-web.zip"
# The Windows zip, in its order.
WINDOWS_ZIP_FILES="LIESMICH.txt stivra.exe"

# The program icon in the hicolor theme (cmake --install, the package), drawn
# by "stivra-tool png SIZE FILE" at each size.
ICON_SIZES="16 24 32 48 64 128 256"

# The page's own files in web/, copied into the page as they are: names or
# shell patterns. A new module web/NAME.js is one of them without a word here.
WEB_PAGE_FILES="index.html manifest.webmanifest *.js"
# The offline cache's worker: web/sw.js is its template, filled in by the
# build (not copied), so the pattern above passes over it.
WEB_WORKER="sw.js"
# What the build writes beside them; the worker keeps all of these and the
# page's own files for a visit without network.
WEB_BUILT_FILES="version.js page_constants.js stivra.js stivra.wasm stivra.ico icon-192.png icon-512.png icon-maskable-512.png apple-touch-icon.png"
