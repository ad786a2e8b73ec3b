#!/usr/bin/env bash
# Installs what is needed, builds, and starts camdesk. When no serial port has been chosen
# (none given with --port, none picked in the port window), camsim plays the device.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh >/dev/null

# A display is needed: use Xvfb when there is none.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  exec xvfb-run -a "$0" "$@"
fi

# The port stored by the port window: a quoted device path in the options file's first line
# (a plain number is the COMn default, which on this machine is no cam programmer).
stored_port() {
  local docs work
  docs=$(xdg-user-dir DOCUMENTS 2>/dev/null || echo "$HOME/Documents")
  for work in "$docs/Zeto" "$docs" "$HOME"; do
    if [ -d "$work" ]; then
      [ -f "$work/KlmPx_opt.def" ] && sed -n '1s/^"[^"]*","\([^"]*\)".*/\1/p' "$work/KlmPx_opt.def" | tr -d '\r'
      return
    fi
  done
}

for arg in "$@"; do
  [ "$arg" = "--port" ] && exec build/src/app/camdesk "$@"
done
if [ -n "$(stored_port)" ]; then
  exec build/src/app/camdesk "$@"
fi

out=$(mktemp)
build/sim/camsim --model 32x7x255x1 >"$out" &
sim=$!
trap 'kill $sim 2>/dev/null || true; rm -f "$out"' EXIT
for _ in $(seq 50); do   # camsim prints its port path first thing
  port=$(head -n 1 "$out")
  [ -n "$port" ] && break
  sleep 0.1
done
echo "camdesk: no serial port chosen; the simulator camsim plays the device on $port"
build/src/app/camdesk --port "$port" "$@"
