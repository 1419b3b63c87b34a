#!/usr/bin/env bash
# The tools' shared clean-up at exit and the helpers' compile (tools/wine-env), run from a scratch
# copy with stand-ins for the Wine server and the compilers: seconds, and the real prefix, display
# and build are left alone.
source "$(dirname "$0")/scratch-tools.sh"
# Alive and not a zombie waiting to be reaped. A killed process may take a moment to go on a busy
# machine: it counts as running only if it is still there after two seconds.
running() {
  local state _
  for _ in $(seq 20); do
    sleep 0.1
    state=$(ps -o stat= -p "$1" 2>/dev/null) && [[ $state != Z* ]] || return 1
  done
}

log="$scratch/calls.log"
export STANDIN_LOG=$log

printf '#!/usr/bin/env bash\necho "wineserver $*" >> "$STANDIN_LOG"\n' > "$scratch/bin/wineserver"
# The compiler writes its output and a dependency list naming the source and $STANDIN_DEPS.
cat > "$scratch/bin/x86_64-w64-mingw32-g++" <<'STANDIN'
#!/usr/bin/env bash
echo "g++ $*" >> "$STANDIN_LOG"
[ -z "${STANDIN_FAIL:-}" ] || { echo "error: broken helper" >&2; exit 1; }
out= dep= src=
while (($#)); do
  case $1 in
    -o) out=$2; shift ;;
    -MF) dep=$2; shift ;;
    *.cpp) src=$1 ;;
  esac
  shift
done
echo built > "$out"
printf '%s: \\\n %s %s\n' "$out" "$src" "${STANDIN_DEPS:-}" > "$dep"
STANDIN
cat > "$scratch/bin/x86_64-w64-mingw32-windres" <<'STANDIN'
#!/usr/bin/env bash
echo "windres $*" >> "$STANDIN_LOG"
while (($#)); do [ "$1" = -o ] && echo res > "$2"; shift; done
STANDIN
chmod +x "$scratch/bin"/*

# ---- The clean-up at exit ------------------------------------------------------------------------
# A tool: a scratch folder, a registered process and, when asked, a private display (a stand-in
# process), then it ends with the given status. Prints the folder and the pids it made.
cat > "$scratch/tool" <<'TOOL'
#!/usr/bin/env bash
set -euo pipefail
source "$(dirname "$0")/tools/wine-env"
trap "dioramix_cleanup_on_exit ${TOOL_LAST_STEP:-}" EXIT
last_step() { echo "last step" >> "$STANDIN_LOG"; false; }
# A child killed between its fork and its exec takes the shell's trap handler with it and lives
# on as the program it then becomes: the stand-ins are waited for until they are programs.
started() { for _ in $(seq 200); do [ "$(cat "/proc/$1/comm" 2>/dev/null)" = sleep ] && return 0; sleep 0.01; done; }
dioramix_scratch work cleanup-check
touch "$work/file"
sleep 60 >/dev/null 2>&1 & DIORAMIX_CLEANUP_PIDS=("$!")
started "$!"
if [ -n "${TOOL_PRIVATE_DISPLAY:-}" ]; then sleep 60 >/dev/null 2>&1 & DIORAMIX_XVFB_PID=$!; started "$!"; fi
DIORAMIX_STOP_WINE=${TOOL_STOP_WINE:-}
echo "$work ${DIORAMIX_CLEANUP_PIDS[0]} ${DIORAMIX_XVFB_PID:-}"
eval "${TOOL_END:-exit 0}"
TOOL
chmod +x "$scratch/tool"

# name | private display | stop wine | last step | how it ends | status | Wine server stopped
cases=(
  "private display, failed|1|||exit 3|3|yes"
  "user's display|||||0|no"
  "user's display, own Wine session||1|||0|yes"
  "a failing command under set -e|1|||false|1|yes"
  "a failing last step|1||last_step|exit 0|0|yes"
)
for row in "${cases[@]}"; do
  IFS='|' read -r name private stop last end want_status want_stop <<<"$row"
  : > "$log"
  made=$(TOOL_PRIVATE_DISPLAY=$private TOOL_STOP_WINE=$stop TOOL_LAST_STEP=$last TOOL_END=$end \
         timeout 20 "$scratch/tool" 2>&1)
  status=$?
  read -r work pid xvfb <<<"$made"
  [ "$status" -eq "$want_status" ] || fail "$name: exit status $status, expected $want_status"
  [ -n "$work" ] && [ ! -e "$work" ] || fail "$name: scratch folder '$work' left behind"
  for p in $pid $xvfb; do
    running "$p" && { fail "$name: process $p still runs"; kill "$p"; }
  done
  stopped=no
  grep -qx 'wineserver -k' "$log" && stopped=yes
  [ "$stopped" = "$want_stop" ] || fail "$name: Wine server stopped: $stopped, expected $want_stop"
  if [ -n "$last" ] && [ "$(head -1 "$log")" != "last step" ]; then
    fail "$name: the last step did not run before the Wine server stopped: $(tr '\n' ' ' < "$log")"
  fi
done

# ---- The helpers' compile ------------------------------------------------------------------------
helpers="$scratch/tools/helpers"
build="$scratch/build"
printf 'int main() {}\n' > "$helpers/probe.cpp"
printf '#pragma once\n' > "$scratch/probe.h"
printf '1 ICON "x.ico"\n' > "$helpers/probe.rc"
printf 'lib\n' > "$scratch/libprobe.a"
export STANDIN_DEPS="$scratch/probe.h"
compile() {  # runs dioramix_helper in a tool of its own; prints what the compilers were asked to do
  : > "$log"
  bash -c 'set -euo pipefail; source "$1/tools/wine-env"; dioramix_helper "$1/build" probe "${@:2}"; echo went on' \
    _ "$scratch" "$helpers/probe.rc" "$scratch/libprobe.a" -municode 2>/dev/null
  cat "$log"
}
# Every input older than the helper, then the one named newer.
freshen() {
  touch -d '2 minutes ago' "$helpers/probe.cpp" "$scratch/probe.h" "$helpers/probe.rc" "$scratch/libprobe.a"
  touch -d '1 minute ago' "$build/tools/probe.exe"
  [ $# -eq 0 ] || touch "$@"
}

out=$(compile)
grep -q '^g++ ' <<<"$out" || fail "the first call compiled nothing: $out"
grep -q "^windres .*probe.rc" <<<"$out" || fail "the resource script was not compiled: $out"
grep -q "^g++ .*probe.cpp .*probe.res.o .*libprobe.a -municode" <<<"$out" ||
  fail "the link lacks the source, the resources, the library or the flag: $out"
grep -q -- "-I $scratch/src -I $scratch/res" <<<"$out" || fail "the helper does not see src/ and res/: $out"
[ -f "$build/tools/probe.exe" ] || fail "no helper in the build folder"

freshen
out=$(compile)
grep -q '^g++ ' <<<"$out" && fail "an unchanged helper was compiled again"
grep -q 'went on' <<<"$out" || fail "the tool did not go on after an unchanged helper: $out"

# Each input newer than the helper, or gone, brings a new compile.
for input in "$helpers/probe.cpp" "$scratch/probe.h" "$helpers/probe.rc" "$scratch/libprobe.a"; do
  freshen "$input"
  out=$(compile)
  grep -q '^g++ ' <<<"$out" || fail "${input##*/} changed and the helper was not compiled again"
done
freshen
mv "$scratch/probe.h" "$scratch/probe.h.gone"
grep -q '^g++ ' <<<"$(compile)" || fail "a vanished header did not bring a new compile"
mv "$scratch/probe.h.gone" "$scratch/probe.h"

# A failed compile stops the tool. The helper's time is set back first: a plain touch can fall in
# the same clock tick as the compile just before, and an equally old source counts as built.
freshen "$helpers/probe.cpp"
out=$(STANDIN_FAIL=1 compile)
grep -q 'went on' <<<"$out" && fail "the tool went on after a failed helper compile"

[ "$failures" -eq 0 ] && echo "clean-up at exit: ${#cases[@]} ways to end; helper compile: every input counts"
exit $((failures > 0))
