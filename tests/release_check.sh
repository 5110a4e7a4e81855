#!/bin/sh
# Checks the downloads that release.sh wrote, as players and the Linux and
# game-distribution tools see them: each one is unpacked and run from there.
#   tests/release_check.sh DIST_DIR WORK_DIR
# The Debian package must pass lintian without an error or a warning, its
# desktop entry desktop-file-validate and its metadata appstreamcli; it is
# installed into and removed from a throwaway root with dpkg, and the game
# it installed renders a demo scene. stivra.exe from the zip draws its icon
# under Wine, and the page from the web zip starts the game in headless
# Chromium, served on 127.0.0.1.
set -u
[ $# -eq 2 ] || { echo "usage: tests/release_check.sh DIST_DIR WORK_DIR" >&2; exit 2; }
dist=$(cd "$1" && pwd) || exit 1
mkdir -p "$2" && work=$(cd "$2" && pwd) || exit 1
cd "$(dirname "$0")/.."
here=$(pwd)
. tests/check_bmp.sh
. packaging/release_facts.sh

version=$(sed -n 's/^project(StIvraSchule VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
name_of() { echo "$1" | sed "s/VERSION/$version/; s/ARCH/$arch/"; }
win_zip=$(name_of "$WINDOWS_ZIP")
deb=$(name_of "$DEB")
web_zip=$(name_of "$WEB_ZIP")

failed=0
ok() { echo "ok: $*"; }
fail() { echo "FAIL: $*"; failed=1; }
check() {  # check WHAT COMMAND...: the command's output is shown when it fails
  what=$1
  shift
  if out=$("$@" 2>&1); then ok "$what"; else fail "$what"; echo "$out" | sed 's/^/    /'; fi
}

rm -rf "$work" && mkdir -p "$work"

echo "-- the files and their checksums"
listing=$(cd "$dist" && ls | LC_ALL=C sort | tr '\n' ' ')
[ "$listing" = "SHA256SUMS $web_zip $win_zip $deb " ] && ok "dist/ holds the three downloads of $version and SHA256SUMS" ||
  fail "dist/ holds: $listing"
check "SHA256SUMS matches the three" sh -c "cd '$dist' && sha256sum --check --strict SHA256SUMS"

# Unpacks a zip with Python's reader, which checks every entry's CRC, and
# prints its entry names in their order.
unzip_to() {  # unzip_to ZIP DIRECTORY
  python3 - "$1" "$2" <<'EOF'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    bad = z.testzip()
    if bad:
        sys.exit("bad CRC in " + bad)
    z.extractall(sys.argv[2])
    print("\n".join(z.namelist()))
EOF
}

echo "-- the Windows zip"
names=$(unzip_to "$dist/$win_zip" "$work/windows" | tr '\n' ' ') || fail "$win_zip does not unpack"
[ "$names" = "$WINDOWS_ZIP_FILES " ] && ok "the Windows zip holds $WINDOWS_ZIP_FILES" ||
  fail "the Windows zip holds: $names"
exe=$work/windows/stivra.exe
liesmich=$work/windows/LIESMICH.txt
if grep -q "Version $version für Windows" "$liesmich" && [ "$(head -c3 "$liesmich" | od -An -tx1 | tr -d ' ')" = efbbbf ] &&
   [ "$(grep -c "$(printf '\r')\$" "$liesmich")" -eq "$(wc -l <"$liesmich")" ]; then
  ok "LIESMICH.txt names version $version, is UTF-8 with a byte-order mark and Windows line ends"
else
  fail "LIESMICH.txt: no version $version, no byte-order mark or not every line ends in CR LF"
fi
check "stivra.exe imports nothing but Windows itself" tests/check_imports.sh "$exe"
# The version resource: VS_FIXEDFILEINFO's signature, then the numbers
# major.minor and patch.0 as the Properties dialog shows them, and the
# German ProductVersion string.
check "stivra.exe carries version $version in its version resource" python3 - "$exe" "$version" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
major, minor, patch = (int(n) for n in sys.argv[2].split("."))
fixed = data.find(struct.pack("<II", 0xFEEF04BD, 0x00010000))
if fixed < 0:
    sys.exit("no VS_FIXEDFILEINFO")
ms, ls, pms, pls = struct.unpack("<IIII", data[fixed + 8:fixed + 24])
if (ms, ls, pms, pls) != ((major << 16) | minor, patch << 16) * 2:
    sys.exit("file version %x.%x, product version %x.%x" % (ms, ls, pms, pls))
want = "ProductVersion\0".encode("utf-16-le")
at = data.find(want, fixed)
value = data[at + len(want):at + len(want) + 64]
if value.startswith(b"\0\0"):  # the padding to 32 bits before the value
    value = value[2:]
if at < 0 or not value.startswith((sys.argv[2] + "\0").encode("utf-16-le")):
    sys.exit("no ProductVersion string %s" % sys.argv[2])
if "040704B0".encode("utf-16-le") not in data:
    sys.exit("no German string table")
EOF
mkdir -p "$work/wine"
# The Wine prefix of test.sh's Windows tests (made there when missing): a
# prefix takes 0.7 GB.
: "${WINEPREFIX:=$here/build-windows/wine-prefix}"
export WINEPREFIX
(cd "$work/wine" && "$here/cmake/wine-headless.sh" "$exe" -icon 1 icon.bmp >/dev/null 2>&1)
check_bmp "$work/wine/icon.bmp" 32 32 || fail "stivra.exe from the zip did not draw its icon under Wine"

echo "-- the Debian package"
check "dpkg-deb reads $deb" dpkg-deb --info "$dist/$deb"
field() { dpkg-deb --field "$dist/$deb" "$1"; }
[ "$(field Package)" = "$PACKAGE" ] && [ "$(field Version)" = "$version" ] && [ "$(field Section)" = games ] &&
  ok "the package is $PACKAGE $version in section games" || fail "the package's control: $(field Package Version Section)"
case "$(field Depends)" in
  *libsdl2-2.0-0*libstdc++6*|*libc6*libsdl2-2.0-0*) ok "it depends on SDL2 and the C and C++ libraries: $(field Depends)" ;;
  *) fail "its Depends line misses a library: $(field Depends)" ;;
esac
lintian_out=$(lintian --fail-on error,warning --display-info "$dist/$deb" 2>&1)
lintian_code=$?
echo "$lintian_out" | sed 's/^/    lintian: /'
# Information tags (I:) are shown but allowed; errors and warnings are not.
if [ $lintian_code -eq 0 ] && ! echo "$lintian_out" | grep -q '^[EW]: '; then
  ok "lintian reports no error and no warning"
else
  fail "lintian reports errors or warnings (exit $lintian_code)"
fi

root=$work/deb
dpkg-deb --extract "$dist/$deb" "$root"
id=$APP_ID
expected="./usr/games/stivra
./usr/share/applications/$id.desktop"
for size in $ICON_SIZES; do
  expected="$expected
./usr/share/icons/hicolor/${size}x$size/apps/stivra.png"
done
expected="$expected
./usr/share/doc/$PACKAGE/changelog.gz
./usr/share/doc/$PACKAGE/copyright
./usr/share/man/man6/stivra.6.gz
./usr/share/metainfo/$id.metainfo.xml"
[ "$(dpkg-deb --contents "$dist/$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)" = \
  "$(echo "$expected" | LC_ALL=C sort)" ] && ok "the package holds the game, its menu entry, icons, metadata, manual and copyright" ||
  fail "the package's files: $(dpkg-deb --contents "$dist/$deb" | awk '$1 !~ /^d/ { print $6 }' | tr '\n' ' ')"
[ -z "$(dpkg-deb --contents "$dist/$deb" | awk '$2 != "root/root"')" ] && ok "root owns every file" ||
  fail "files not owned by root"
check "desktop-file-validate accepts the desktop entry" desktop-file-validate "$root/usr/share/applications/$id.desktop"
grep -qx 'Categories=Game;ActionGame;' "$root/usr/share/applications/$id.desktop" &&
  grep -qx 'Comment=.*' "$root/usr/share/applications/$id.desktop" && ok "the desktop entry: a German comment, Game;ActionGame;" ||
  fail "the desktop entry lacks its comment or categories"
check "appstreamcli validate accepts the metadata" appstreamcli validate --no-net --strict --pedantic "$root/usr/share/metainfo/$id.metainfo.xml"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$id.metainfo.xml" &&
  ok "the metadata names release $version" || fail "the metadata does not name release $version"
check "the manual page formats without a warning" sh -c \
  "LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z '$root/usr/share/man/man6/stivra.6.gz' 2>&1 >/dev/null | (! grep .)"
# Deflated: a stored 256-pixel icon is 257 KiB, deflated about 2 KiB.
check "every icon is a deflated PNG of its size" python3 - "$root/usr/share/icons/hicolor" $ICON_SIZES <<'EOF'
import os, struct, sys, zlib
for size in map(int, sys.argv[2:]):
    data = open(os.path.join(sys.argv[1], "%dx%d" % (size, size), "apps", "stivra.png"), "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n" or struct.unpack(">II", data[16:24]) != (size, size):
        sys.exit("the %d icon is no %dx%d PNG" % (size, size, size))
    (idat,) = struct.unpack(">I", data[33:37])
    raw = zlib.decompress(data[41:41 + idat])
    if data[37:41] != b"IDAT" or len(raw) != size * (1 + 4 * size) or idat * 4 > len(raw):
        sys.exit("the %d icon's image data is not deflated (%d bytes for %d)" % (size, idat, len(raw)))
EOF

# The package installed into and removed from a throwaway root. dpkg's own
# database there holds this machine's records of the libraries the package
# depends on and nothing else, so that they count as installed (with their
# versions: a Depends line this machine cannot satisfy fails). The package
# has no maintainer scripts.
troot=$work/root
admin=$work/dpkg-admin
mkdir -p "$troot" "$admin/info" "$admin/updates" "$admin/triggers"
touch "$admin/available"
python3 - "$(field Depends)" "$arch" /var/lib/dpkg/status "$admin" <<'EOF' || fail "this machine lacks a library the package depends on"
import os, re, sys
depends, arch, status, admin = sys.argv[1:5]
wanted = {re.split(r"[ (|]", d.strip())[0] for d in depends.split(",")}
found = set()
with open(os.path.join(admin, "status"), "w") as out:
    for stanza in open(status).read().split("\n\n"):
        fields = dict(re.findall(r"^([A-Za-z-]+): ?(.*)$", stanza, re.M))
        name = fields.get("Package")
        if name in wanted and fields.get("Architecture") in (arch, "all"):
            out.write(stanza.strip("\n") + "\n\n")
            found.add(name)
            # dpkg's list of the package's files and their checksums: empty,
            # nothing of it is in the throwaway root.
            stem = os.path.join(admin, "info", name + (":" + arch if fields.get("Multi-Arch") == "same" else ""))
            for kind in (".list", ".md5sums"):
                open(stem + kind, "w").close()
if wanted - found:
    sys.exit("not installed here: " + " ".join(sorted(wanted - found)))
EOF
in_root() { dpkg --force-not-root --force-bad-path --instdir="$troot" --admindir="$admin" "$@"; }
check "dpkg installs the package into a throwaway root" in_root --install "$dist/$deb"
[ "$(in_root --status st-ivra-schule 2>/dev/null | sed -n 's/^Status: //p')" = "install ok installed" ] &&
  ok "dpkg counts it as installed" || fail "dpkg does not count it as installed"
check "dpkg --audit finds nothing amiss" sh -c "[ -z \"\$(dpkg --force-not-root --admindir='$admin' --audit 2>&1)\" ]"
mkdir -p "$work/run"
(cd "$work/run" && "$troot/usr/games/stivra" -shot 0 title.bmp)
check_bmp "$work/run/title.bmp" 960 600 || fail "the installed game did not render -shot 0"
check "dpkg purges the package" in_root --purge st-ivra-schule
left=$(cd "$troot" && find . -mindepth 1 | head -n 5)
[ -z "$left" ] && ok "nothing is left in the throwaway root" || fail "left behind: $left"

echo "-- the web zip"
names=$(unzip_to "$dist/$web_zip" "$work/web" | tr '\n' ' ') || fail "$web_zip does not unpack"
page_files=$(cd web && for f in $WEB_PAGE_FILES; do [ "$f" = "$WEB_WORKER" ] || echo "$f"; done)
for f in $page_files $WEB_BUILT_FILES $WEB_WORKER; do
  case " $names" in *" $f "*) ;; *) fail "the web zip lacks $f at its root (it holds: $names)" ;; esac
done
echo "$names" | grep -q / && fail "the web zip holds folders: $names"
grep -q "self.STIVRA_VERSION = '$version';" "$work/web/version.js" && ok "version.js gives $version" ||
  fail "version.js does not give $version"
# STIVRA_SKIP_PAGE_CHECK=1 (test.sh, when npm could not install the
# browser test's packages) leaves out starting the page in Chromium.
if [ "${STIVRA_SKIP_PAGE_CHECK:-0}" = 1 ]; then
  echo "SKIPPED: the page from the web zip in Chromium (STIVRA_SKIP_PAGE_CHECK=1)"
else
  . scripts/packages.sh
  npm_packages web || fail "the browser check's npm packages"
  . tests/serve_dir.sh
  serve_dir "$work/web" "$work/server.log" || port=
  if [ -z "$port" ]; then
    fail "the web server did not start"
  else
    node tests/release_page.mjs "http://127.0.0.1:$port/" "$version" || fail "the page from the web zip"
  fi
fi

if [ "$failed" -ne 0 ]; then
  echo "FAIL: the release does not pass its checks"
  exit 1
fi
echo "ok: the release $version passes its checks"
