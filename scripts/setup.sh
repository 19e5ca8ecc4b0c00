#!/usr/bin/env bash
# Installs the Debian packages that building and testing plinth need. Safe to run again:
# it asks apt-get only for what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang pkgconf
  libgtest-dev libgmock-dev libbenchmark-dev
  libpugixml-dev
  libfontconfig-dev libfreetype-dev fonts-dejavu-core fonts-liberation2
  libelf-dev
  libboost-dev
  clang-format clang-tidy
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
