#!/bin/sh
# Builds the downloads of a release from clean build folders into dist/:
#   st-ivra-schule-VERSION-windows-x64.zip   stivra.exe and LIESMICH.txt
#   st-ivra-schule_VERSION_ARCH.deb          the SDL2 game for Debian and Ubuntu
#   st-ivra-schule-VERSION-web.zip           the page, index.html at its root
#   SHA256SUMS                               over the three
# VERSION is the project version in CMakeLists.txt; the names and what each
# holds are the release facts (packaging/release_facts.sh). Two runs from the same
# commit give the same bytes: every date is the commit's (SOURCE_DATE_EPOCH),
# build paths are mapped away, archive entries are sorted with fixed times
# and owners. tests/release_check.sh checks the result.
set -eu
cd "$(dirname "$0")"
. scripts/packages.sh
. packaging/release_facts.sh
need_packages cmake make g++ libsdl2-dev zlib1g-dev dpkg-dev python3 g++-mingw-w64-x86-64 emscripten

# The commit's time stands for "now" in everything the release holds.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) ||
    { echo "release.sh: not a git checkout; set SOURCE_DATE_EPOCH to the release's time" >&2; exit 1; }
fi
case "$SOURCE_DATE_EPOCH" in
  ''|*[!0-9]*) echo "release.sh: SOURCE_DATE_EPOCH must be seconds since 1970, not '$SOURCE_DATE_EPOCH'" >&2; exit 1 ;;
esac
if [ -n "$(git status --porcelain --untracked-files=no 2>/dev/null)" ]; then
  echo "!! The work tree has uncommitted changes: this release is not the commit's alone."
fi
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8
umask 022
jobs=$(nproc)
here=$(pwd)
dist=$here/dist
# The one build folder of each download, always started from scratch.
linux=$here/build-release-linux
windows=$here/build-release-windows
web=$here/build-release-web
deb_root=$here/build-release-deb
rm -rf "$linux" "$windows" "$web" "$deb_root" "$dist"
mkdir -p "$dist"

echo "== Linux: the game and stivra-tool"
# Debian's flags (hardening, and the build path mapped to '.'), without the
# debug information the stripped binary would drop anyway.
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
CXXFLAGS="$CPPFLAGS $(echo "$CXXFLAGS" | sed 's/\(^\| \)-g\( \|$\)/ /') -ffile-prefix-map=$here=."
export CXXFLAGS LDFLAGS
cmake -S . -B "$linux" -DCMAKE_BUILD_TYPE=Release -DSTIVRA_TESTS=OFF -DSTIVRA_BENCH=OFF >/dev/null
cmake --build "$linux" -j"$jobs" --target stivra stivra-tool stivra_icons
unset CFLAGS CPPFLAGS CXXFLAGS LDFLAGS ASFLAGS DFLAGS FCFLAGS FFLAGS GCJFLAGS OBJCFLAGS OBJCXXFLAGS
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$linux/CMakeCache.txt")
[ -n "$version" ] || { echo "release.sh: no project version in $linux/CMakeCache.txt" >&2; exit 1; }
tool=$linux/stivra-tool
[ "$("$tool" --version)" = "stivra-tool $version" ] || { echo "release.sh: stivra-tool does not say $version" >&2; exit 1; }
# The release facts' file names, with the version and the architecture.
arch=$(dpkg --print-architecture)
name_of() { echo "$1" | sed "s/VERSION/$version/; s/ARCH/$arch/"; }
windows_zip=$(name_of "$WINDOWS_ZIP")
deb=$(name_of "$DEB")
web_zip=$(name_of "$WEB_ZIP")
echo "Version $version, dated $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC')"

echo "== Windows: stivra.exe"
# The linker's time stamp in the PE header would differ on every build.
CXXFLAGS="-ffile-prefix-map=$here=." LDFLAGS="-Wl,--no-insert-timestamp" \
  cmake -S . -B "$windows" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$windows" -j"$jobs" --target stivra

echo "== Browser: the page"
# emscripten's own scripts load their Node.js modules from there.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
CXXFLAGS="-ffile-prefix-map=$here=." emcmake cmake -S . -B "$web" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$web" -j"$jobs"

# Fills in @VERSION@, @DATE@ (the release day) and the other names given as
# NAME=VALUE after the two files.
fill_in() {  # fill_in TEMPLATE OUTPUT [NAME=VALUE...]
  template=$1 output=$2
  shift 2
  python3 - "$template" "$output" "VERSION=$version" "DATE=$(date -u -d "@$SOURCE_DATE_EPOCH" +%Y-%m-%d)" "$@" <<'EOF'
import re, sys
text = open(sys.argv[1], encoding="utf-8").read()
for pair in sys.argv[3:]:
    name, value = pair.split("=", 1)
    text = text.replace("@" + name + "@", value)
left = re.search(r"@[A-Z_]+@", text)
if left:
    sys.exit("release.sh: %s: nothing fills in %s" % (sys.argv[1], left.group(0)))
open(sys.argv[2], "w", encoding="utf-8", newline="").write(text)
EOF
}

# A zip whose bytes depend only on the files: entries sorted, the release's
# time on each, no owners or extra fields.
make_zip() {  # make_zip OUTPUT DIRECTORY
  python3 - "$1" "$2" "$SOURCE_DATE_EPOCH" <<'EOF'
import os, sys, time, zipfile
output, top, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
# Zip times are local date and time from 1980 on, in two-second steps.
stamp = time.gmtime(max(epoch, 315532800))[:6]
names = []
for root, dirs, files in os.walk(top):
    names += [os.path.relpath(os.path.join(root, f), top) for f in files]
with zipfile.ZipFile(output, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for name in sorted(names):
        info = zipfile.ZipInfo(name.replace(os.sep, "/"), stamp)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.create_system = 3  # Unix, so that the permissions below are read
        executable = name.endswith(".exe")
        info.external_attr = (0o100755 if executable else 0o100644) << 16
        with open(os.path.join(top, name), "rb") as f:
            z.writestr(info, f.read())
EOF
}

echo "== The Windows zip"
stage=$windows/zip
mkdir -p "$stage"
cp "$windows/stivra.exe" "$stage/stivra.exe"
# LIESMICH.txt for Notepad: Windows line ends and a byte-order mark.
fill_in packaging/LIESMICH.txt.in "$windows/LIESMICH.unix.txt"
{ printf '\357\273\277'; sed 's/$/\r/' "$windows/LIESMICH.unix.txt"; } >"$stage/LIESMICH.txt"
[ "$(ls "$stage" | tr '\n' ' ')" = "$WINDOWS_ZIP_FILES " ] ||
  { echo "release.sh: the Windows zip would hold $(ls "$stage"), not $WINDOWS_ZIP_FILES" >&2; exit 1; }
make_zip "$dist/$windows_zip" "$stage"

echo "== The Debian package"
# The files a system gets, as the build's install rules put them (under
# /usr), then what only the package has: the stripped game, the compressed
# manual page and the changelog.
DESTDIR=$deb_root cmake --install "$linux" --prefix /usr >/dev/null
mkdir -p "$deb_root/DEBIAN"
doc=$deb_root/usr/share/doc/$PACKAGE
# Stripped as Debian's own packages are; the notes and the compiler's
# comment say nothing to a player.
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$deb_root/usr/games/stivra"
chmod 0755 "$deb_root/usr/games/stivra"
gzip -9n "$deb_root/usr/share/man/man6/stivra.6"
maintainer="The St. Ivra Schule developers <stivra@example.org>"
{
  echo "$PACKAGE ($version) unstable; urgency=medium"
  echo
  echo "  * Release $version."
  echo
  echo " -- $maintainer  $(date -u -R -d "@$SOURCE_DATE_EPOCH")"
} >"$doc/changelog"
gzip -9n "$doc/changelog"

# The libraries the game needs, and the lowest versions of them, read from
# the binary as Debian's own tools do.
mkdir -p "$deb_root/shlibs/debian"
printf 'Source: st-ivra-schule\n\nPackage: st-ivra-schule\nArchitecture: any\n' >"$deb_root/shlibs/debian/control"
depends=$(cd "$deb_root/shlibs" && dpkg-shlibdeps -O "$deb_root/usr/games/stivra" 2>/dev/null |
  sed -n 's/^shlibs:Depends=//p')
rm -rf "$deb_root/shlibs"
[ -n "$depends" ] || { echo "release.sh: dpkg-shlibdeps found no libraries" >&2; exit 1; }
case "$depends" in *libsdl2*) ;; *) echo "release.sh: the game does not depend on SDL2: $depends" >&2; exit 1 ;; esac

find "$deb_root" -type d -exec chmod 0755 {} +
find "$deb_root" -type f ! -path '*/usr/games/*' -exec chmod 0644 {} +
# Counted as dpkg-gencontrol counts: each file in whole KiB, each folder as 1.
installed_size=$(find "$deb_root/usr" \( -type f -printf '%s\n' \) -o \( -type d -printf '1024\n' \) |
  awk '{ k += int(($1 + 1023) / 1024) } END { print k }')
fill_in packaging/control.in "$deb_root/DEBIAN/control" "ARCH=$arch" "MAINTAINER=$maintainer" \
  "INSTALLED_SIZE=$installed_size" "DEPENDS=$depends"
(cd "$deb_root" && find usr -type f | LC_ALL=C sort | xargs md5sum) >"$deb_root/DEBIAN/md5sums"
chmod 0644 "$deb_root/DEBIAN/control" "$deb_root/DEBIAN/md5sums"
# Every file gets the release's time; dpkg-deb sorts the entries, makes root
# their owner and compresses on one thread (so the same bytes every time).
find "$deb_root" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
dpkg-deb --root-owner-group -Zxz --threads-max=1 --build "$deb_root" "$dist/$deb" >/dev/null

echo "== The web zip"
make_zip "$dist/$web_zip" "$web/web"

(cd "$dist" && sha256sum "$windows_zip" "$deb" "$web_zip" >SHA256SUMS)
echo "== The release is in dist/:"
(cd "$dist" && ls -l && cat SHA256SUMS)
