#!/usr/bin/env bash
# Two builds of the same sources, in other folders and at other times, write the same programs, installer, images and sums.
#
# Usage: reproducible.sh WINDOWS_BUILD SCRATCH
# Copies the sources that WINDOWS_BUILD was configured from (without their build trees) into
# SCRATCH, every file dated years back, builds the disc images there with the same toolchain
# and compares the artefacts byte for byte with WINDOWS_BUILD's.
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

[ $# -eq 2 ] || fail "usage: reproducible.sh WINDOWS_BUILD SCRATCH"
main=$1 scratch=$2
cache="$main/CMakeCache.txt"
[ -f "$cache" ] || fail "no configured Windows tree in $main"
[ -f "$main/disc1.iso" ] || fail "no disc images in $main: build the Windows tree first"
setting() { sed -n "s/^$1:[A-Z]*=//p" "$cache"; }
sources=$(setting CMAKE_HOME_DIRECTORY)
toolchain=$(setting CMAKE_TOOLCHAIN_FILE)
build_type=$(setting CMAKE_BUILD_TYPE)
# The release date the main build took from its commit; a copy of the sources has no history.
epoch=$(cat "$main/disc/source_date_epoch")

rm -rf "$scratch"
# Other folders for the sources and the build, of other lengths, so that no path hides in an
# artefact; and other file dates, so that no file's time does.
copy="$scratch/sources-elsewhere"
build="$scratch/a/longer/build/path"
mkdir -p "$copy"
tar -C "$sources" --exclude=./build --exclude=./.git -cf - . | tar -C "$copy" -xf -
find "$copy" -exec touch -h -d '2001-02-03 04:05:06' {} +
toolchain=${toolchain/#$sources/$copy}

SECONDS=0
SOURCE_DATE_EPOCH=$epoch cmake -S "$copy" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE="$build_type" >"$scratch/configure.log" 2>&1 ||
  fail "configure failed: see $scratch/configure.log"
SOURCE_DATE_EPOCH=$epoch cmake --build "$build" --target disc_images -j"$(nproc)" \
  >"$scratch/build.log" 2>&1 || fail "build failed: see $scratch/build.log"
echo "built the discs again in $build in ${SECONDS} s"

differ=0
for artefact in disc/disc1/start.exe disc/disc1/recentfix.exe disc/disc1/setup.exe \
  "disc/disc1/program files/harrowlight/kelvaro/kelvaro.exe" disc1.iso disc2.iso SHA256SUMS; do
  if cmp "$main/$artefact" "$build/$artefact"; then
    echo "ok: $artefact is byte-identical ($(stat -c %s "$main/$artefact") bytes)"
  else
    differ=1
  fi
done
# Sources edited since the main build differ for that reason alone.
[ "$differ" = 0 ] || fail "the builds differ; is $main up to date with its sources?"
rm -rf "$scratch"
