#!/usr/bin/env bash
# Installs the Debian packages Pellmora needs to build, test and run, when they are missing.
set -euo pipefail

packages=(g++ cmake make libgtest-dev qt6-base-dev qt6-image-formats-plugins libgl-dev
          xvfb xauth imagemagick fonts-dejavu-core openbox wmctrl xdotool
          desktop-file-utils appstream groff-base man-db trash-cli dbus-daemon python3
          libxxhash-dev libsqlite3-dev pkg-config xfsprogs attr acl)
if [ "${PELLMORA_BENCH:-0}" = 1 ]; then
    packages+=(fdupes jdupes rmlint rdfind duff libbenchmark-dev time python3 bc)
fi
# make deb: dpkg-shlibdeps finds the libraries through file(1); lintian checks the package.
if [ "${PELLMORA_DEB:-0}" = 1 ]; then
    packages+=(dpkg-dev file lintian)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
