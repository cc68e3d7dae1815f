#!/bin/sh
# Cross-checks pellmora-scan against tools/reference_scan.py on random trees.
#   tools/compare_scan.sh [--binary PATH] [--seeds N] [--first-seed N] [--many] [--as-nobody]
# Prints one MISMATCH line per differing run and "N passed, N failed" at the end; the
# outputs of a mismatch are kept in the work folder (default /tmp/pellmora-compare).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
export LC_ALL=C.UTF-8
exec python3 "$here/compare_scan.py" "$@"
