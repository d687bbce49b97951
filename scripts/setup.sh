#!/usr/bin/env bash
# Installs everything the build and the tests need from Debian's archive.
# Safe to run again: it does nothing when all is in place.
set -euo pipefail

PACKAGES=(
  g++ cmake make googletest
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine32:i386 wine64
  xvfb xdotool imagemagick x11-utils
  fonts-wqy-zenhei fonts-wqy-microhei locales
  python3 python3-pil python3-aiosmtpd openssl
  curl file nsis
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Wine turns command lines and Linux file names into UTF-16 through the
# locale; zh_CN.UTF-8 also gives it code page 936, as on a Chinese Windows.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  $SUDO sed -i 's/^# *zh_CN.UTF-8/zh_CN.UTF-8/' /etc/locale.gen
  $SUDO locale-gen >/dev/null
fi

# SQLite comes as the official amalgamation inside the npm package
# better-sqlite3 (its deps/sqlite3), fetched once into third_party/ (not
# kept in git) and checked against the pinned checksum of the package.
SQLITE_PACKAGE=better-sqlite3@12.11.1
SQLITE_PACKAGE_SHA256=ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835
SQLITE_DIR="$(cd "$(dirname "$0")/.." && pwd)/third_party/sqlite3"
if [ "$(cat "$SQLITE_DIR/package.sha256" 2>/dev/null)" != "$SQLITE_PACKAGE_SHA256" ] ||
   [ ! -f "$SQLITE_DIR/sqlite3.c" ] || [ ! -f "$SQLITE_DIR/sqlite3.h" ]; then
  if ! command -v npm >/dev/null; then
    echo "setup: installing npm"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq npm >/dev/null
  fi
  echo "setup: fetching $SQLITE_PACKAGE"
  tmp="$(mktemp -d)"
  trap 'rm -rf "$tmp"' EXIT
  (cd "$tmp" && npm pack --silent "$SQLITE_PACKAGE" >/dev/null)
  tarball="$(ls "$tmp"/better-sqlite3-*.tgz)"
  if [ "$(sha256sum "$tarball" | cut -d' ' -f1)" != "$SQLITE_PACKAGE_SHA256" ]; then
    echo "setup: $SQLITE_PACKAGE does not match its pinned SHA-256; refusing to use it" >&2
    exit 1
  fi
  tar -xzf "$tarball" -C "$tmp" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
  mkdir -p "$SQLITE_DIR"
  cp "$tmp/package/deps/sqlite3/sqlite3.c" "$tmp/package/deps/sqlite3/sqlite3.h" "$SQLITE_DIR/"
  echo "$SQLITE_PACKAGE_SHA256" >"$SQLITE_DIR/package.sha256"
fi
echo "setup: all packages present"
