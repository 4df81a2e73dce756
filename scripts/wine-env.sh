#!/usr/bin/env bash
# Sourced: sets up the private Wine prefix (once), a virtual X display, and a
# warm Wine server. Every background process is started with its output
# detached: Wine's services live on after a test and would otherwise hold
# the test runner's output pipe open.
export WINEPREFIX="${VELMORA_WINEPREFIX:-$HOME/.velmora-wine}"
export WINEDEBUG=-all
export WINEARCH=win32
export DISPLAY="${VELMORA_DISPLAY:-:77}"

# What this set-up started itself, for a caller that wants to stop it again
# afterwards (scripts/demo.sh does): the Xvfb's process id, and whether the
# prefix's Wine server was started here.
VELMORA_STARTED_XVFB=
VELMORA_STARTED_WINESERVER=

if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
  setsid Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  for _ in $(seq 100); do xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break; sleep 0.1; done
  # The server's own record of its process id, whichever way setsid ran it.
  VELMORA_STARTED_XVFB=$(tr -dc '0-9' <"/tmp/.X${DISPLAY#:}-lock" 2>/dev/null || true)
fi

if [ ! -f "$WINEPREFIX/.velmora-ready" ]; then
  VELMORA_STARTED_WINESERVER=1
  wineboot --init </dev/null >/dev/null 2>&1 || true
  # No window manager: unmanaged windows hide at once; no crash dialog.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  touch "$WINEPREFIX/.velmora-ready"
fi

# Wine's own fonts (Marlett draws the caption buttons' symbols; without it
# they come out as the letters "0 1 r") are in /usr/share/wine/fonts, but
# this Wine build looks for them in its data folder's "../fonts", which is
# /usr/share/fonts. A prefix's Windows fonts folder is searched as well, so
# they go there; done for older prefixes too.
wine_fonts=/usr/share/wine/fonts
prefix_fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -d "$wine_fonts" ] && [ -d "$prefix_fonts" ] && [ ! -f "$prefix_fonts/marlett.ttf" ]; then
  cp -n "$wine_fonts"/* "$prefix_fonts"/ 2>/dev/null || true
fi

# Start (or keep) the server persistent and its services running, detached.
# The server puts itself in the background; it refuses (status 2) when one
# already serves the prefix.
if setsid -w wineserver -p </dev/null >/dev/null 2>&1; then
  VELMORA_STARTED_WINESERVER=1
fi
export VELMORA_STARTED_XVFB VELMORA_STARTED_WINESERVER
setsid wine cmd /c exit </dev/null >/dev/null 2>&1 || true
