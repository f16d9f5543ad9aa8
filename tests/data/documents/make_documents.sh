#!/bin/sh
# Remakes the test documents: the HTML sources (make_sources.py), each word processor's RTF of
# them, and the PDF LibreOffice prints of each RTF file, which the tests compare with ours.
# Needs libreoffice-writer-nogui, pandoc and abiword; the tests need none of them.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/make_sources.py" "$here/source"
cp "$here"/source/* "$work"
cd "$work"
profile="-env:UserInstallation=file://$work/profile"
mkdir -p libreoffice pandoc abiword
for doc in report letter long; do
  soffice --headless "$profile" --infilter="HTML (StarWriter)" --convert-to rtf --outdir libreoffice "$doc.html" >/dev/null
  pandoc -s -f html -t rtf "$doc.html" -o "pandoc/$doc.rtf"
  abiword --to=rtf -o "abiword/$doc.rtf" "$doc.html"
done
for producer in libreoffice pandoc abiword; do
  (cd "$producer" && soffice --headless "$profile" --convert-to pdf ./*.rtf >/dev/null)
  mkdir -p "$here/$producer"
  cp "$producer"/*.rtf "$producer"/*.pdf "$here/$producer/"
done
