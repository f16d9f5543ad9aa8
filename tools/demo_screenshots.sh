#!/usr/bin/env bash
# Screenshots of the demo's main form on each demonstration's page, for the documentation:
#   tools/demo_screenshots.sh SCREENSHOT_TOOL [OUTDIR]
# SCREENSHOT_TOOL runs a program on a virtual display and saves the screen
# ("screenshot OUT.png SECONDS COMMAND..."); OUTDIR defaults to docs/images.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=$1
out=${2:-docs/images}
mkdir -p "$out"
pages=(About Areas Published Simpliest Rules BioLife DBGrid SimpleTextGrid SimpleGrid StringGrid ListView
  StringsPrint RichEdit MultiPrint Draft)
for i in "${!pages[@]}"; do
  shot="$out/demo-${pages[$i]}.png"
  "$tool" "$shot" 4 build/demo/VLDemo --page "$i" >/dev/null
  # The virtual screen is black around the window: keep the window only.
  convert "$shot" -bordercolor black -border 1 -trim +repage "$shot"
done
