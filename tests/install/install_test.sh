#!/usr/bin/env bash
# install_test.sh BUILD_DIR: cmake --install into a temporary prefix, then
# check what a desktop expects to find there.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
home=$(mktemp -d)
trap 'rm -rf "$prefix" "$home"' EXIT
fail() { echo "install_test: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

program_dir="$prefix/lib/qvlogview"
for file in "$program_dir/qvlogview" "$program_dir/qvlog" "$program_dir/libvendtab.so" \
            "$prefix/share/applications/qvlogview.desktop" \
            "$prefix/share/icons/hicolor/scalable/apps/qvlogview.svg"; do
  [ -f "$file" ] || fail "missing $file"
done
for size in 16 32 48 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/qvlogview.png"
  [ -f "$png" ] || fail "missing $png"
  # The PNG header states the size it was drawn at.
  width=$(od -An -tu1 -j16 -N4 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4}')
  [ "$width" = "$size" ] || fail "$png is $width pixels wide, not $size"
done
[ -L "$prefix/bin/qvlogview" ] && [ -x "$prefix/bin/qvlogview" ] || fail "bin/qvlogview is not a link to the program"
[ -L "$prefix/bin/qvlog" ] && [ -x "$prefix/bin/qvlog" ] || fail "bin/qvlog is not a link to the program"

desktop="$prefix/share/applications/qvlogview.desktop"
grep -qx 'Name=Quorvex Log Viewer' "$desktop" || fail "desktop entry has no Name"
grep -qx 'Categories=Network;Monitor;' "$desktop" || fail "desktop entry has the wrong categories"
grep -qx 'Icon=qvlogview' "$desktop" || fail "desktop entry names no icon"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi

# Started through the link on the PATH, the command line tool loads the vendor
# library from the program folder, as the viewer's decoder does.
vendor=$(cd "$home" && "$prefix/bin/qvlog" vendor 00-00-0C) || fail "installed qvlog vendor failed"
[ -n "$vendor" ] || fail "installed qvlog found no vendor"
if ldd "$program_dir/qvlogview" | grep -q 'not found'; then
  fail "the installed viewer misses libraries: $(ldd "$program_dir/qvlogview" | grep 'not found')"
fi

# The installed viewer starts and keeps running until it is stopped.
status=0
HOME="$home" XDG_CONFIG_HOME="$home/.config" QT_QPA_PLATFORM=offscreen \
  timeout 3 "$prefix/bin/qvlogview" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "the installed viewer ended with status $status instead of running"
echo "install layout ok"
