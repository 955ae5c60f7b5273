#!/usr/bin/env bash
# Runs the extraction tests that need a disk that fills up: a 1 MB tmpfs, reached through
# Wine's drive Z: (the host's root), named to the tests in TRELLIQ_SMALL_DISK:
#   smallDisk.sh WINE_DIR TEST_PROGRAM
# Mounting needs root; without it the test is skipped (exit 77).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
wine_dir=${1:?usage: smallDisk.sh WINE_DIR TEST_PROGRAM}
program=${2:?usage: smallDisk.sh WINE_DIR TEST_PROGRAM}

disk=$(mktemp -d "${TMPDIR:-/tmp}/trelliq-disk.XXXXXX")
if ! mount -t tmpfs -o size=1m tmpfs "$disk" 2>/dev/null; then
  rmdir "$disk"
  echo "smallDisk: skipped, mounting a tmpfs needs root"
  exit 77
fi
# Wine's server may still hold the folder for a moment after the program ended.
trap 'umount "$disk" 2>/dev/null || umount -l "$disk"; rmdir "$disk"' EXIT
TRELLIQ_SMALL_DISK="Z:${disk//\//\\}" "$top/tools/wine-run" "$wine_dir" "$program" \
  --gtest_filter='ProductExtraction.DiskFull*'
