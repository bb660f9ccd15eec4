#!/usr/bin/env bash
# Installs the Debian packages KrvDiag needs to build, test and run. Does nothing when all
# are present; uses sudo when not run as root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
  libuemf-dev
  libfontconfig-dev  # face names of metafiles are mapped through fontconfig's aliases
  fonts-dejavu-core
  fonts-liberation  # metric-compatible faces for the metafiles' Times New Roman, Arial, Courier New
  qt6-translations-l10n  # Qt's own dialog texts in German
  desktop-file-utils  # the installation test validates the desktop entry
  ser2net  # test peer only: the network port tests serve a pseudo-terminal through it
  sigrok-cli  # test only: a real reader of the exported VCD
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
