#!/usr/bin/env bash
# The manual pages format without a warning, and the manual page and the bash completion know
# every option that pellmora-scan --help lists.
# Usage: manual_pages.sh PACKAGING_DIR PATH/TO/pellmora-scan
set -euo pipefail
packaging=$1
scan=$2
command -v groff >/dev/null || { echo "groff is missing"; exit 77; }

status=0
for page in "$packaging"/man/*.1; do
    warnings=$(LC_ALL=C.UTF-8 groff -z -ww -rCHECKSTYLE=10 -man "$page" 2>&1)
    if [ -n "$warnings" ]; then
        echo "$page:"; echo "$warnings"; status=1
    fi
done

completion="$packaging/completion/pellmora-scan"
bash -n "$completion"
for option in $("$scan" --help | grep -oE '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,' | sort -u); do
    # Hyphens of options are written \- in the page so that they copy as ASCII hyphens.
    escaped=${option//-/\\-}
    grep -qF -- "$escaped" "$packaging/man/pellmora-scan.1" ||
        { echo "pellmora-scan.1 lacks $option"; status=1; }
    if [[ $option == --* ]]; then
        tr -s ' \t"()|' '\n' < "$completion" | grep -qxF -- "$option" ||
            { echo "the bash completion lacks $option"; status=1; }
    fi
done
exit $status
