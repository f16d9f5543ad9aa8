#!/usr/bin/env bash
# Fails when Doxygen reports an undocumented class or member of the published units (the jobs,
# the preview controls and window, registration, translations):
#   check_api_docs.sh WARNINGS_LOG
set -euo pipefail
log=$1
published='/lib/(job|gridjobs|textjobs|multijobs|preview|design)/|/lib/platform/core/Translations\.h'
undocumented=$(grep 'is not documented' "$log" | grep -E "$published" | grep -v '/design/designer/' || true)
if [ -n "$undocumented" ]; then
  echo "$undocumented" >&2
  echo "$(echo "$undocumented" | wc -l) undocumented published classes or members" >&2
  exit 1
fi
echo "API reference: every published class and member documented"
