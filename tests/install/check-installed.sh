#!/usr/bin/env bash
# Checks a game installed under PREFIX: its files and desktop metadata, and that the installed text
# front end plays a short race day into a fresh home folder from the installed data, never writing
# into that data; then the same program as a portable copy beside its own data files.
# From the environment: SW_BINDIR and SW_DATADIR (relative to PREFIX), SW_WINDOW (ON when the window
# is built), SW_MAN (ON when the manual pages are made), SW_VERSION, SW_APP_ID, SW_ICON_SIZES, and
# SW_STRICT (ON: a validator that is not installed is a failure, not a skip).
set -euo pipefail

prefix="$(cd "$1" && pwd)"
source_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
bindir="$prefix/${SW_BINDIR:-games}"
datadir="$prefix/${SW_DATADIR:-share}"
app="${SW_APP_ID:-net.stridewell.Stridewell}"
bundled="$datadir/games/stridewell/data"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
need_file() { [ -f "$1" ] || fail "missing $1"; }
need_program() { { [ -f "$1" ] && [ -x "$1" ]; } || fail "missing program $1"; }
# True when the validator is installed; when it is not, a strict check fails and others skip it.
have_tool() {
  command -v "$1" >/dev/null && return 0
  [ "${SW_STRICT:-OFF}" = ON ] && fail "$1 is not installed"
  return 1
}
# Width x height from a PNG's header, or nothing when the file is not a PNG.
png_size() {
  [ "$(od -An -tx1 -N8 "$1" | tr -d ' \n')" = "89504e470d0a1a0a" ] || return 0
  od -An -tu1 -j16 -N8 "$1" | awk '{ print ($1 * 16777216 + $2 * 65536 + $3 * 256 + $4) "x" ($5 * 16777216 + $6 * 65536 + $7 * 256 + $8) }'
}

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# --- The files -------------------------------------------------------------------------------
need_program "$bindir/stridewell-cli"
for f in horses.dat jockeys.dat pastperformances.dat settings.dat players.dat top10players.dat; do
  need_file "$bundled/$f"
  if [ -f "$bundled/$f" ] && ! cmp -s "$bundled/$f" "$source_root/data/$f"; then
    fail "$bundled/$f differs from the bundled data it was installed from"
  fi
done
need_file "$datadir/doc/stridewell/copyright"
if [ -f "$datadir/doc/stridewell/copyright" ] &&
  ! cmp -s "$datadir/doc/stridewell/copyright" "$source_root/debian/copyright"; then
  fail "the installed copyright file is not the game's debian/copyright"
fi
if [ -f "$source_root/docs/userguide.htm" ]; then
  need_file "$datadir/games/stridewell/docs/userguide.htm"
fi
# Every translation, where gettext looks for it; the installed program speaks it.
for po in "$source_root"/po/*.po; do
  [ -e "$po" ] || continue
  need_file "$datadir/locale/$(basename "$po" .po)/LC_MESSAGES/stridewell.mo"
done
if [ -f "$datadir/locale/fr/LC_MESSAGES/stridewell.mo" ] &&
  ! LANGUAGE=fr "$bindir/stridewell-cli" --help | grep -q "Options :"; then
  fail "the installed stridewell-cli does not speak French with LANGUAGE=fr"
fi
if [ "${SW_MAN:-OFF}" = ON ]; then
  programs=(stridewell-cli)
  [ "${SW_WINDOW:-OFF}" = ON ] && programs+=(stridewell)
  for program in "${programs[@]}"; do
    page="$(ls "$datadir/man/man6/$program.6"* 2>/dev/null | head -n 1)"
    if [ -z "$page" ]; then
      fail "missing the manual page of $program"
      continue
    fi
    # The page is made from --help: every option the program lists is in it.
    man -l "$page" 2>/dev/null | col -b >"$work/$program.man"
    for option in $(QT_QPA_PLATFORM=offscreen "$bindir/$program" --help | grep -o -E -- '--[a-z][a-z-]+' | sort -u); do
      grep -q -- "$option" "$work/$program.man" || fail "the manual page of $program does not list $option"
    done
  done
fi

if [ "${SW_WINDOW:-OFF}" = "ON" ]; then
  need_program "$bindir/stridewell"
  # The race's sounds, as committed.
  for f in "$source_root"/sounds/*.wav; do
    cmp -s "$f" "$datadir/games/stridewell/sounds/$(basename "$f")" || fail "sound $(basename "$f") not installed as made"
  done
  desktop="$datadir/applications/$app.desktop"
  metainfo="$datadir/metainfo/$app.metainfo.xml"
  need_file "$desktop"
  need_file "$metainfo"
  need_file "$datadir/icons/hicolor/scalable/apps/$app.svg"
  for size in ${SW_ICON_SIZES:-16 22 24 32 48 64 128 256}; do
    png="$datadir/icons/hicolor/${size}x${size}/apps/$app.png"
    need_file "$png"
    if [ -f "$png" ] && [ "$(png_size "$png")" != "${size}x${size}" ]; then
      fail "$png is not a ${size}x${size} PNG (it is '$(png_size "$png")')"
    fi
  done
  if [ -f "$desktop" ]; then
    grep -qx "Exec=stridewell" "$desktop" || fail "the desktop entry does not start stridewell"
    grep -qx "Icon=$app" "$desktop" || fail "the desktop entry does not name the icon $app"
    if have_tool desktop-file-validate; then
      desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
    fi
  fi
  if [ -f "$metainfo" ]; then
    grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" ||
      fail "the metainfo does not launch $app.desktop"
    if [ -n "${SW_VERSION:-}" ]; then
      grep -q "<release version=\"$SW_VERSION\"" "$metainfo" ||
        fail "the metainfo lists no release $SW_VERSION (the program's version)"
    fi
    if have_tool appstreamcli; then
      appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
        { cat "$work/appstream.log" >&2; fail "appstreamcli rejects $metainfo"; }
    fi
  fi
  if [ -x "$bindir/stridewell" ]; then
    QT_QPA_PLATFORM=offscreen "$bindir/stridewell" --help >"$work/window.log" 2>&1 ||
      { cat "$work/window.log" >&2; fail "the installed window program does not start"; }
  fi
fi

# --- A short day against a fresh home ----------------------------------------------------------
cat >"$work/day.txt" <<'DAY'
add-player Ann
ticket $2 Win on 1
pay
run
ok
ticket $2 Exacta Box 134
pay
run
ok
DAY

if [ -x "$bindir/stridewell-cli" ] && [ -d "$bundled" ]; then
  # A file only the installed data holds shows which bundled copy filled the player's folder.
  echo "installed copy" >"$bundled/installed.marker"
  (cd "$bundled" && sha256sum -- *) >"$work/bundled.before"

  home="$work/home"
  mkdir -p "$home" "$work/elsewhere"
  if ! (cd "$work/elsewhere" && env -u XDG_DATA_HOME HOME="$home" "$bindir/stridewell-cli" --seed 5 \
    "$work/day.txt") >"$work/day.log" 2>&1; then
    cat "$work/day.log" >&2
    fail "the installed stridewell-cli did not play the day"
  fi
  user="$home/.local/share/stridewell"
  need_file "$user/horses.dat"
  [ -f "$user/installed.marker" ] || fail "the player's data was not filled from the installed data"
  grep -q "Ann" "$user/players.dat" 2>/dev/null || fail "the new player was not saved in $user"
  if cmp -s "$user/pastperformances.dat" "$bundled/pastperformances.dat"; then
    fail "the races run were not written into $user"
  fi
  (cd "$bundled" && sha256sum -- *) >"$work/bundled.after"
  cmp -s "$work/bundled.before" "$work/bundled.after" || fail "the game wrote into its installed data"
  [ -z "$(ls -A "$work/elsewhere")" ] || fail "the game wrote into the folder it was started from"
  rm -f "$bundled/installed.marker"

  # Portable: the program beside its own data files keeps everything there.
  portable="$work/portable"
  mkdir -p "$portable" "$work/home2"
  cp "$bindir/stridewell-cli" "$bundled"/*.dat "$portable/"
  if ! env -u XDG_DATA_HOME HOME="$work/home2" "$portable/stridewell-cli" --seed 5 "$work/day.txt" \
    >"$work/portable.log" 2>&1; then
    cat "$work/portable.log" >&2
    fail "the portable copy did not play the day"
  fi
  grep -q "Ann" "$portable/players.dat" || fail "the portable copy did not keep its player beside itself"
  [ ! -e "$work/home2/.local/share/stridewell" ] || fail "the portable copy wrote into the home folder"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) of the installed game under $prefix failed" >&2
  exit 1
fi
echo "The installed game under $prefix is complete and plays."
