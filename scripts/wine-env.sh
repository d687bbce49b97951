# Sourced by the scripts that run Windows programs: a private Wine prefix
# inside the build folder, quiet, Chinese locale (code page 936).
: "${MIRVEN_BUILD:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}"
# MIRVEN_DPI (96, 120, 144, 192, ...) selects a prefix of its own whose
# display scale is that DPI (HKCU\Control Panel\Desktop\LogPixels).
if [ -n "${MIRVEN_DPI:-}" ] && [ "$MIRVEN_DPI" != 96 ]; then
  export WINEPREFIX="${WINEPREFIX:-$MIRVEN_BUILD/wineprefix-dpi$MIRVEN_DPI}"
else
  export WINEPREFIX="${WINEPREFIX:-$MIRVEN_BUILD/wineprefix}"
fi
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL=zh_CN.UTF-8
export LANG=zh_CN.UTF-8

# Some machines (sandboxed kernels) cannot start 32-bit Linux programs, and
# with them not Wine's 32-bit loader. There the 64-bit loader runs the
# x86_64 build of the program for the tests.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  MIRVEN_WINE=wine
  MIRVEN_WINE_ARCH=i686
else
  MIRVEN_WINE=/usr/lib/wine/wine64
  MIRVEN_WINE_ARCH=x86_64
  export WINELOADER=$MIRVEN_WINE
fi

# Creates the prefix once; concurrent callers wait for the first.
mirven_wine_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.mirven-ready" ]; then
      "$MIRVEN_WINE" wineboot -i >/dev/null 2>&1 || true
      # Xvfb has no window manager: let Wine place windows itself instead
      # of waiting for one.
      "$MIRVEN_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
      # The Chinese faces the program asks for, from Debian's WenQuanYi fonts.
      local face
      for face in 宋体 SimSun 新宋体 NSimSun; do
        "$MIRVEN_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1 || true
      done
      for face in 微软雅黑 'Microsoft YaHei'; do
        "$MIRVEN_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1 || true
      done
      if [ -n "${MIRVEN_DPI:-}" ]; then
        "$MIRVEN_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
          /d "$MIRVEN_DPI" /f >/dev/null 2>&1 || true
      fi
      wineserver -w
      touch "$WINEPREFIX/.mirven-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# Starts a private Xvfb on a free display and exports DISPLAY.
mirven_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      MIRVEN_XVFB_PID=$!
      local i
      for i in $(seq 1 100); do
        if [ -e "/tmp/.X11-unix/X$n" ]; then export DISPLAY=":$n"; return 0; fi
        if ! kill -0 "$MIRVEN_XVFB_PID" 2>/dev/null; then break; fi
        sleep 0.05
      done
    fi
  done
  echo "could not start Xvfb" >&2
  return 1
}

mirven_stop_all() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${MIRVEN_XVFB_PID:-}" ]; then
    kill "$MIRVEN_XVFB_PID" 2>/dev/null || true
    wait "$MIRVEN_XVFB_PID" 2>/dev/null || true
  fi
}
