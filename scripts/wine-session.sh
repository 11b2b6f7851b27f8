#!/usr/bin/env bash
# Runs one command inside a Wine session: a fresh WINEPREFIX under the given
# build folder and one private Xvfb display (Wine's windows and WGL need an X
# server). The Xvfb started here is stopped by its own process id, after
# wineserver -w has let every Wine process of the prefix finish; then the
# prefix's wineserver folder is removed, which Wine leaves behind.
#
#   bash scripts/wine-session.sh BUILD_DIR COMMAND [ARG...]
set -euo pipefail
if (($# < 2)); then
  echo "usage: $0 BUILD_DIR COMMAND [ARG...]" >&2
  exit 2
fi
build_dir=$(realpath -m "$1")
shift
mkdir -p "$build_dir"

export WINEPREFIX="$build_dir/wineprefix"
# No Mono, no Gecko; no winedbg, so that a crashing test ends at once
# instead of waiting in the debugger; and no winemenubuilder, which would
# make menu folders under ~/.local/share and ~/.config.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
export WINEDEBUG="${WINEDEBUG--all}"
export WINEARCH=win64
# Wine's OpenGL goes through GLX on Xvfb, which Mesa serves with llvmpipe.
export LIBGL_ALWAYS_SOFTWARE=1

# Wine names a prefix's server folder after the prefix directory's device and
# inode, both in hex. Its root is /run/user/UID/wine where that exists, else
# (Debian) a folder of its own under $TMPDIR whose name the prefix's file
# "wineserver" keeps, or (upstream Wine) /tmp/.wine-UID. Only this prefix's
# folder is removed, and its root only when that is left empty and private
# to this prefix.
remove_server_dir() {
  local device inode name root
  device=$(stat -c %D "$WINEPREFIX" 2>/dev/null) || return 0
  inode=$(stat -c %i "$WINEPREFIX") || return 0
  name=$(printf 'server-%s-%x' "$device" "$inode")
  rm -rf "/run/user/$(id -u)/wine/$name" "/tmp/.wine-$(id -u)/$name"
  if [[ -s "$WINEPREFIX/wineserver" ]]; then
    root=$(head -n1 "$WINEPREFIX/wineserver")
    [[ "$root" =~ ^wine-[A-Za-z0-9]{6}$ ]] || return 0
    rm -rf "${TMPDIR:-/tmp}/$root/$name"
    rmdir "${TMPDIR:-/tmp}/$root" 2>/dev/null || true
  fi
}

xvfb_pid=
stop_session() {
  wineserver -w 2>/dev/null || true
  remove_server_dir
  if [[ -n "$xvfb_pid" ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap stop_session EXIT

# -displayfd lets Xvfb pick a free display and tell us its number once it
# accepts connections, so no fixed number can clash with another session.
display_file="$build_dir/xvfb-display"
rm -f "$display_file"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" \
  >"$build_dir/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [[ -s "$display_file" ]] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb failed:" >&2; cat "$build_dir/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
[[ -s "$display_file" ]] || { echo "Xvfb gave no display" >&2; exit 1; }
display=$(head -n1 "$display_file")
export DISPLAY=":$display"

# A fresh prefix each session: nothing of an earlier run can leak in.
rm -rf "$WINEPREFIX"
wineboot --init >"$build_dir/wineboot.log" 2>&1 || { cat "$build_dir/wineboot.log" >&2; exit 1; }

"$@"
