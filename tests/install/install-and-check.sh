#!/usr/bin/env bash
# Installs BUILD_DIR into a scratch prefix with `cmake --install` and checks the installed game.
set -euo pipefail
build="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

if ! cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install failed" >&2
  exit 1
fi
# Every file goes under the prefix asked for; an absolute destination would escape it.
if grep -E '^-- (Installing|Up-to-date): ' "$work/install.log" | grep -v -- ": $work/prefix/"; then
  echo "FAIL: files were installed outside the prefix" >&2
  exit 1
fi
bash "$here/check-installed.sh" "$work/prefix"
