#!/usr/bin/env bash
# Installs what is needed, builds, and starts camdesk. When no serial port has been chosen
# (none given with --port, none picked in the port window), camsim plays the device. Without
# a file to open, the sample cam file is shown.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${CAMDESK_RUN_BUILT:-}" ]; then
  echo "camdesk: checking the packages it needs (installed with apt-get on the first run)"
  bash scripts/setup.sh run
  echo "camdesk: building into build/ (the first build takes a few minutes)"
  # Only the programs and the manual, built as scripts/test.sh builds them so that it goes on
  # from here.
  BUILD_TARGETS="camdesk camctl camsim manual" bash scripts/build.sh -DCAMDESK_WERROR=ON
  echo "camdesk: built"
fi

# A display is needed: use Xvfb when there is none.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  echo "camdesk: no display; starting it on a virtual one (Xvfb)"
  CAMDESK_RUN_BUILT=1 exec xvfb-run -a "$0" "$@"
fi

# The arguments name a file unless every one is an option or an option's value (the options
# that take one are those camdesk's help shows with a value).
valued=" $(build/bin/camdesk --help | sed -n 's/^  --\([a-z-]*\) [A-Z].*/\1/p' | tr '\n' ' ') "
has_file=false
has_port=false
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  case ${args[i]} in
    --) [ $((i + 1)) -lt ${#args[@]} ] && has_file=true; break ;;
    --port|--port=*) has_port=true ;;&
    --*=*|-h) ;;
    --*) [[ $valued == *" ${args[i]#--} "* ]] && i=$((i + 1)) ;;
    *) has_file=true ;;
  esac
done
if ! $has_file; then
  set -- "$@" resources/samples/demo.Cam
  echo "camdesk: opening the sample file resources/samples/demo.Cam"
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

$has_port && exec build/bin/camdesk "$@"
if [ -n "$(stored_port)" ]; then
  exec build/bin/camdesk "$@"
fi

out=$(mktemp)
build/bin/camsim --model 32x7x255x1 >"$out" &
sim=$!
trap 'kill $sim 2>/dev/null || true; rm -f "$out"' EXIT
for _ in $(seq 50); do   # camsim prints its port path first thing
  port=$(head -n 1 "$out")
  [ -n "$port" ] && break
  sleep 0.1
done
echo "camdesk: no serial port chosen; the simulator camsim plays the device on $port"
build/bin/camdesk --port "$port" "$@"
