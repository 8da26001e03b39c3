#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds into build/.
# Extra arguments go to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
while read -r package; do
  [[ -z "$package" || "$package" == \#* ]] && continue
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done < tools/debian-packages.txt

if ((${#missing[@]})); then
  sudo=()
  [[ "$(id -u)" -ne 0 ]] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build -j"$(nproc)"
