# Sourced by what runs the setup program under Wine: the Wine prefix and
# home folder of the release tests, so that installing touches neither the
# other tests' prefix nor this user's desktop and menus.
: "${MIRVEN_BUILD:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}"
export MIRVEN_BUILD
export HOME="$MIRVEN_BUILD/release-home"
export WINEPREFIX="$HOME/wineprefix"
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
mkdir -p "$HOME"
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
