#!/usr/bin/env bash
# The AppStream metainfo as software centres read it; warnings count as failures, pedantic hints
# do not (one asks for a lower-case id, which the reverse-DNS convention does not use).
# Usage: metainfo.sh org.pellmora.Pellmora.metainfo.xml
set -euo pipefail
command -v appstreamcli >/dev/null || { echo "appstreamcli is missing"; exit 77; }
appstreamcli validate --no-net --strict "$1"
grep -q "<caption>" "$1"
