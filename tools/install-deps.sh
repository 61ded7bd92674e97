#!/usr/bin/env bash
# Installs the Debian packages listed in tools/debian-packages.txt that are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t packages < <(grep -v -E '^\s*(#|$)' tools/debian-packages.txt)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "missing Debian packages: ${missing[*]}" >&2
    echo "run as root, or: sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
