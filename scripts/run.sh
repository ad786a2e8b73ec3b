#!/usr/bin/env bash
# Installs what is needed, builds, and starts camdesk.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh >/dev/null
if [ -x build/src/app/camdesk ]; then
  exec build/src/app/camdesk "$@"
fi
# Until the window exists: the phase list of the sample cam file.
exec build/src/cli/camctl phases resources/samples/demo.Cam
