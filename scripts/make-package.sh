#!/usr/bin/env bash
# Builds the Debian package out/package/quarvel_<version>_amd64.deb: both
# programs, the desktop entry, the icon, the AppStream description, the demo
# core and the manual pages. Needs what scripts/install-deps.sh installs and
# installs the packaging tools itself. Install the result with
#   apt-get install ./out/package/quarvel_*_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${QUARVEL_PACKAGE_BUILD_DIR:-build-package}
OUT=${QUARVEL_PACKAGE_OUT:-$PWD/out/package}

# dpkg-shlibdeps (dpkg-dev) and file work out the Depends line; help2man
# writes the manual pages from the programs' --help.
missing=()
for tool in dpkg-shlibdeps:dpkg-dev file:file help2man:help2man; do
  command -v "${tool%%:*}" >/dev/null || missing+=("${tool#*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 \
    "${missing[@]}" >/dev/null
fi

# Only the programs: the package needs neither the tests nor the benchmarks.
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUARVEL_BUILD_TESTS=OFF -DQUARVEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j 2
(cd "$BUILD" && cpack -G DEB -B "$PWD/packages" >/dev/null)

mkdir -p "$OUT"
rm -f "$OUT"/quarvel_*.deb
mv "$BUILD"/packages/quarvel_*_amd64.deb "$OUT"/
deb=$(echo "$OUT"/quarvel_*_amd64.deb)
echo "Package: $deb ($(du -k "$deb" | cut -f1) KiB)"
echo "Depends: $(dpkg-deb --field "$deb" Depends)"
