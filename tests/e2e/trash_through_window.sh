#!/usr/bin/env bash
# Ticks two of three copies in the real window, sends them to the trash with "Delete Selected"
# and its dialog, and checks with an independent trash client that the desktop's trash holds
# exactly those two, each listed at the path it came from.
# Usage: trash_through_window.sh PATH/TO/pellmora [SCREENSHOT_DIR]
set -euo pipefail
command -v trash-list >/dev/null || { echo "trash-list (trash-cli) is not installed" >&2; exit 1; }
source "$(dirname "$0")/delete_dialog_run.sh"
delete_through_dialog "$1" "${2:-}" trash-e2e

left=$(find "$work/tree" -type f | wc -l)
[ "$left" = 1 ] || { echo "$left of 3 copies are left, expected 1" >&2; exit 1; }
# trash-list also reads the trashes of every other mount; only this tree's files count.
listed=$(XDG_DATA_HOME="$work/data" trash-list | sed 's/^[^ ]* [^ ]* //' | grep -F "$work/" | sort)
expected=$(find "$work/tree" -type f -printf '%p\n' > "$work/kept"
    for path in "${COPIES[@]}"; do
        grep -qxF "$work/tree/$path" "$work/kept" || echo "$work/tree/$path"
    done | sort)
if [ "$listed" != "$expected" ]; then
    echo "the trash lists:" >&2; echo "$listed" >&2
    echo "expected:" >&2; echo "$expected" >&2
    exit 1
fi
echo "two copies in the trash, listed at their own paths"
