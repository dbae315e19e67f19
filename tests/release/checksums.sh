#!/usr/bin/env bash
# The release's SHA256SUMS, in the Windows build folder: it names both disc images, and each sum holds.
set -euo pipefail

[ -f SHA256SUMS ] || { echo "FAIL: no SHA256SUMS in $PWD: build the Windows tree first" >&2; exit 1; }
names=$(sed 's/^[0-9a-f]\{64\}  //' SHA256SUMS)
[ "$names" = $'disc1.iso\ndisc2.iso' ] || {
  echo "FAIL: SHA256SUMS names:"$'\n'"$names" >&2
  exit 1
}
sha256sum --check --strict SHA256SUMS
