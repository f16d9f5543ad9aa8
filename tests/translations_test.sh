#!/usr/bin/env bash
# Every translation is complete and in step with the sources:
#   translations_test.sh SOURCE_DIR LUPDATE
# lupdate reads the sources into copies of the .ts files; a copy that gains an untranslated
# text, or whose number of texts differs from the committed file, fails.
set -euo pipefail
source_dir=$1 lupdate=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
for ts in "$source_dir"/lib/translations/*.ts; do
  copy="$tmp/$(basename "$ts")"
  cp "$ts" "$copy"
  (cd "$source_dir" && "$lupdate" lib -extensions cpp,h -no-obsolete -locations none -silent -ts "$copy")
  untranslated=$(grep -c 'type="unfinished"' "$copy" || true)
  before=$(grep -c '<message>' "$ts" || true)
  after=$(grep -c '<message>' "$copy" || true)
  echo "$(basename "$ts"): $after texts, $untranslated untranslated"
  if [ "$untranslated" != 0 ] || [ "$before" != "$after" ]; then
    echo "$(basename "$ts") is not in step with the sources: run 'cmake --build build --target update_translations' and translate" >&2
    grep -B2 'type="unfinished"' "$copy" | grep '<source>' >&2 || true
    status=1
  fi
done
exit $status
