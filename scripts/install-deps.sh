#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Quarvel
# needs. Run as root on Debian 12.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  g++ cmake ninja-build pkg-config \
  qt6-base-dev qt6-base-dev-tools libgl-dev \
  googletest libgtest-dev libgmock-dev libbenchmark-dev \
  xvfb xauth fonts-dejavu-core fonts-liberation2 \
  clang libclang-rt-14-dev clang-format \
  libsegyio-dev \
  locales \
  >/dev/null
# A German locale, whose decimal comma the tests use to prove that numbers in
# files never follow the user's locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  $SUDO sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  $SUDO locale-gen >/dev/null
fi
