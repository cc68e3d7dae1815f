#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR and runs the installed copies from there: the
# command line prints its version, and the window's own page lookup, run from the installed
# bin/ folder, opens the installed help pages rather than a build folder's.
# Usage: destdir.sh BUILD_DIR PATH/TO/pellmora_gui_tests
set -euo pipefail
build=$1
gui_tests=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$stage/install.log" 2>&1 ||
    { cat "$stage/install.log"; exit 1; }
root="$stage/usr"

status=0
for file in bin/pellmora bin/pellmora-scan share/applications/pellmora.desktop \
    share/metainfo/org.pellmora.Pellmora.metainfo.xml \
    share/icons/hicolor/scalable/apps/pellmora.svg share/icons/hicolor/48x48/apps/pellmora.png \
    share/icons/hicolor/256x256/apps/pellmora.png share/pellmora/help.html \
    share/pellmora/index.html share/pellmora/donation.html share/man/man1/pellmora-scan.1.gz \
    share/man/man1/pellmora.1.gz share/bash-completion/completions/pellmora-scan \
    share/doc/pellmora/copyright share/doc/pellmora/changelog.gz; do
    [ -f "$root/$file" ] || { echo "not installed: /usr/$file"; status=1; }
done

# The metainfo as it meets the installed menu entry and icon.
if command -v appstreamcli >/dev/null; then
    appstreamcli validate-tree --no-net --strict "$stage" >"$stage/tree.log" 2>&1 ||
        { cat "$stage/tree.log"; status=1; }
fi

version=$("$root/bin/pellmora-scan" --version)
echo "$version"
[[ $version =~ ^pellmora-scan\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || status=1

# The installed copy of the lookup must not fall back to the build folder's pages.
cp "$gui_tests" "$root/bin/"
lookup=$(PELLMORA_EXPECT_INSTALLED_PAGES="$root/share/pellmora" QT_QPA_PLATFORM=offscreen \
    "$root/bin/$(basename "$gui_tests")" --gtest_filter='WebPagesInstalledTest.*' 2>&1) ||
    { echo "$lookup"; status=1; }
if ! grep -q "\[  PASSED  \] 1 test" <<<"$lookup"; then
    echo "$lookup"; status=1
fi
exit $status
