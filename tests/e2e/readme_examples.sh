#!/usr/bin/env bash
# usage: readme_examples.sh SOURCE_DIR BUILD_DIR
# Every command example of the README (its indented lines starting with build/) as written,
# camsim playing the device and a scratch folder standing for /tmp.
set -uo pipefail
src=$(realpath "$1") build=$(realpath "$2") case=readme
source "$(dirname "$(realpath "$0")")/../checks.sh"
ln -s "$build" build
ln -s "$src/resources" resources

mapfile -t examples < <(sed -n 's/^    \(build\/.*\)$/\1/p' "$src/README.md")
[ ${#examples[@]} -ge 3 ] || fail "the README has no command examples"
port=
for line in "${examples[@]}"; do
    command=${line%%#*}                       # without the comment
    command=${command%"${command##*[![:space:]]}"}
    if [ "${command: -1}" = "&" ]; then
        # The simulator, started in the background: it prints its port first.
        camsim=bash start_sim -c "exec ${command%&}"
        continue
    fi
    [ -n "$port" ] || fail "'$command' comes before the simulator is started"
    command=${command//\/dev\/pts\/N/$port}
    command=${command//\/tmp\//$work\/}
    timeout 90 bash -c "$command" >out 2>err || fail "'$line' exited with $?: $(cat err)"
    echo "ok: $line"
    sed 's/^/    /' out
done
echo "ok [$case]"
