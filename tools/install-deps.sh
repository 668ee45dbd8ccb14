#!/usr/bin/env bash
# Installs the Debian packages the game, the level hub, their tools and
# their tests need.
# Only missing packages are installed; when everything is present this
# returns at once without touching apt.
set -euo pipefail

PACKAGES=(
  g++ cmake make pkg-config
  libsdl1.2-dev libsdl-mixer1.2-dev libvorbis-dev
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  liblodepng-dev libfreetype-dev fonts-dejavu-core
  libgtest-dev
  xvfb xauth xdotool x11-xserver-utils imagemagick x11-utils libx11-dev python3 sox
  clang libclang-rt-14-dev
  emscripten nodejs chromium chromium-driver python3-selenium
  dpkg-dev file lintian desktop-file-utils appstream gettext systemd
  libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libpqxx-dev libssl-dev libcurl4-openssl-dev
  postgresql wrk haproxy stress-ng
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done
# npm comes with some builds of nodejs; Debian's own nodejs needs the npm package.
command -v npm > /dev/null || missing+=(npm)
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${missing[@]}"
