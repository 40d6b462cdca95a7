#!/bin/sh
# The one list of Debian packages KAVRO needs, by group:
#   build  what the executable needs (compiler, CMake, Ninja, make, libraries)
#   test   build, and GoogleTest with gmock for the test binary
# Usage: tools/install-deps.sh build|test
# Installs the missing packages through apt-get when run as root; otherwise
# prints the apt-get line that installs them and fails. Nothing is done when
# every package is present.
set -eu

build_packages="cmake ninja-build g++ make libdeflate-dev zlib1g-dev"
test_packages="$build_packages libgtest-dev libgmock-dev"

case "${1:-}" in
  build) packages=$build_packages ;;
  test) packages=$test_packages ;;
  *) echo "usage: $0 build|test" >&2; exit 2 ;;
esac

if ! command -v dpkg-query >/dev/null 2>&1; then
  echo "No dpkg here: install the equivalents of these Debian packages yourself: $packages" >&2
  exit 0
fi

missing=""
for p in $packages; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  case "$status" in
    *" installed") ;;
    *) missing="$missing $p" ;;
  esac
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends $missing
else
  echo "KAVRO needs these Debian packages:$missing" >&2
  echo "Install them as root, then run make again:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends$missing" >&2
  exit 1
fi
