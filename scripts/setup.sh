#!/usr/bin/env bash
# Installs, as root and idempotently, everything the build, the tests and running Keyvora under
# Wine need: the mingw-w64 cross compiler, 32-bit Wine, an X server and input tool for the
# end-to-end suite, a Chinese font and the zh_CN.UTF-8 locale, clang for the fuzzers.
set -euo pipefail

packages=(
    cmake g++ make libgtest-dev
    g++-mingw-w64-i686
    wine wine32:i386
    xvfb xdotool x11-utils imagemagick
    fonts-wqy-microhei locales
    clang libclang-rt-14-dev
    python3
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
        exit 1
    fi
    echo "setup: installing ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
    echo "setup: generating the zh_CN.UTF-8 locale"
    sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
fi
