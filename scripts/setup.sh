#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing HPA need.
# Idempotent: packages already present are left alone. As root it runs
# apt-get itself; otherwise it prints the exact command to run.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  # Qt Charts' CMake package needs Qt OpenGL's, which its -dev package does not pull in.
  qt6-charts-dev libqt6opengl6-dev
  # The History window saves its chart as SVG.
  qt6-svg-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-liberation
  python3-pyftpdlib vsftpd curl
  xvfb xauth poppler-utils desktop-file-utils
  clang libclang-rt-14-dev clang-format
  libsqlite3-dev libpq-dev postgresql
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#PACKAGES[@]} packages are installed"
  exit 0
fi

cmd="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages; run as root:"
  echo "  apt-get update && $cmd"
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
$cmd
echo "setup: installed ${missing[*]}"
