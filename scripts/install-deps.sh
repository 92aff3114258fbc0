#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine, when missing.
# --no-install-recommends keeps third-party plug-in headers off the include path.
set -euo pipefail

# xvfb, xauth, libx11-dev and libxtst-dev: the editor window test runs on a virtual X server of its
# own and clicks the editor with the server's pointer.
# ardour, openbox, xdotool, x11-utils, imagemagick and python3: the module in Ardour's own GUI, on a
# virtual X server with a window manager, driven with the server's pointer and keyboard.
# clang and its runtimes build the sanitizer build and the fuzz targets (libFuzzer).
packages=(juce-modules-source pkg-config cmake ninja-build g++ clang libclang-rt-14-dev libfreetype-dev libpng-dev
          libjpeg-dev zlib1g-dev fonts-dejavu-core libgtest-dev libgmock-dev libbenchmark-dev sox
          xvfb xauth libx11-dev libxtst-dev ardour openbox xdotool x11-utils imagemagick python3)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
