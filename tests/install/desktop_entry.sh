#!/usr/bin/env bash
# The menu entry as the desktop's own validator reads it.
# Usage: desktop_entry.sh pellmora.desktop
set -euo pipefail
command -v desktop-file-validate >/dev/null || { echo "desktop-file-validate is missing"; exit 77; }
# It prints hints and warnings but fails only on errors; a warning fails here too.
report=$(desktop-file-validate "$1" 2>&1) || { echo "$report"; exit 1; }
[ -z "$report" ] || { echo "$report"; exit 1; }
grep -qx "GenericName=Duplicate File Finder" "$1"
grep -qx "Exec=pellmora" "$1"
