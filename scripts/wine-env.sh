#!/usr/bin/env bash
# Sourced: sets up the private Wine prefix (once) and a virtual X display.
export WINEPREFIX="${VELMORA_WINEPREFIX:-$HOME/.velmora-wine}"
export WINEDEBUG=-all
export WINEARCH=win32
export DISPLAY="${VELMORA_DISPLAY:-:77}"
if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
  (Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &)
  for _ in $(seq 50); do xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break; sleep 0.1; done
fi
if [ ! -f "$WINEPREFIX/.velmora-ready" ]; then
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w || true
  # No window manager: unmanaged windows hide at once; no crash dialog.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w || true
  touch "$WINEPREFIX/.velmora-ready"
fi
# Keep the server warm between test processes.
(wineserver -p >/dev/null 2>&1 &) || true
