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
echo "setup: all packages present"
