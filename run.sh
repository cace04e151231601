#!/usr/bin/env bash
# Starts Keyvora on this machine's display: installs what is missing (scripts/setup.sh, as root),
# builds the 32-bit Windows program into build/win32, prepares a Wine prefix for the user and
# runs keyvora.exe under Wine.
#   KEYVORA_PREFIX   the Wine prefix (default ~/.local/share/keyvora/wineprefix)
set -euo pipefail
cd "$(dirname "$0")"

if [ -z "${DISPLAY:-}" ]; then
    echo "run.sh: no X display (DISPLAY is not set). Keyvora is a desktop program and needs one:" >&2
    echo "        run this from a graphical session, or set DISPLAY to a running X server." >&2
    exit 2
fi

if [ "$(id -u)" -eq 0 ]; then
    bash scripts/setup.sh
elif command -v sudo >/dev/null 2>&1; then
    sudo bash scripts/setup.sh
else
    bash scripts/setup.sh
fi

cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win32 --target keyvora -j2

export KEYVORA_PREFIX=${KEYVORA_PREFIX:-$HOME/.local/share/keyvora/wineprefix}
export KEYVORA_LANG=zh_CN.UTF-8
# shellcheck source=scripts/wine_env.sh
source scripts/wine_env.sh
echo "run.sh: preparing the Wine prefix $WINEPREFIX (the first time takes a few seconds)"
wine_prefix_init
exec wine build/win32/keyvora.exe
