#!/usr/bin/env bash
# CI's check of the package that scripts/make-package.sh made: lintian finds
# no error, the AppStream description is valid, apt can satisfy its Depends
# line, and both programs run from the package's own files, unpacked into a
# throw-away root (quarvel-synth --version, and the demo's final plot drawn
# off screen by the installed quarvel from the installed demo core).
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=${QUARVEL_PACKAGE_OUT:-$PWD/out/package}
deb=$(echo "$OUT"/quarvel_*_amd64.deb)
[ -f "$deb" ] || { echo "no package in $OUT: run scripts/make-package.sh first" >&2; exit 1; }

missing=()
for tool in lintian:lintian appstreamcli:appstream; do
  command -v "${tool%%:*}" >/dev/null || missing+=("${tool#*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 \
    "${missing[@]}" >/dev/null
fi

version=$(dpkg-deb --field "$deb" Version)
echo "$(basename "$deb"): $(du -k "$deb" | cut -f1) KiB"
echo "Depends: $(dpkg-deb --field "$deb" Depends)"

echo "lintian:"
lintian --fail-on error --display-info "$deb" | sed 's/^/  /'

apt-get install --simulate -qq "$deb" >/dev/null

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
for file in bin/quarvel bin/quarvel-synth share/applications/quarvel.desktop \
  share/icons/hicolor/scalable/apps/quarvel.svg share/metainfo/org.quarvel.Quarvel.metainfo.xml \
  share/quarvel/demo/demo_core.bmp share/man/man1/quarvel.1.gz share/man/man1/quarvel-synth.1.gz \
  share/doc/quarvel/copyright share/doc/quarvel/changelog.gz; do
  [ -f "$root/usr/$file" ] || { echo "the package lacks /usr/$file" >&2; exit 1; }
done
zgrep -q "^## \[$version\]" "$root/usr/share/doc/quarvel/CHANGELOG.md.gz" ||
  { echo "CHANGELOG.md has no section for $version" >&2; exit 1; }
appstreamcli validate --no-net "$root"/usr/share/metainfo/org.quarvel.Quarvel.metainfo.xml

synth=$("$root/usr/bin/quarvel-synth" --version)
[ "$synth" = "quarvel-synth $version" ] ||
  { echo "quarvel-synth --version says '$synth', the package is $version" >&2; exit 1; }
[ "$("$root/usr/bin/quarvel" --version)" = "quarvel $version" ] ||
  { echo "quarvel --version does not say $version" >&2; exit 1; }

# The installed program must find the installed demo by itself.
env -u QUARVEL_DEMO_DIR -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
  QUARVEL_WORKDIR="$root/work" "$root/usr/bin/quarvel" --demo --final-plot "$root/final-plot.bmp"
[ "$(head -c 2 "$root/final-plot.bmp")" = "BM" ] ||
  { echo "the installed quarvel wrote no final plot" >&2; exit 1; }
echo "package $version: installed programs ran; the demo's final plot is $(stat -c %s "$root/final-plot.bmp") bytes"
