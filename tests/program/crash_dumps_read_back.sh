#!/usr/bin/env bash
# The built program crashed on purpose (its hidden -crash-test switch) in each way a user's copy
# may crash: on the UI thread, on a worker thread, by a stack overflow, on two threads at once,
# and while another thread holds the process heap. Each run must end within the dump's bounded
# wait, leave at most one dump and let the next run claim the single-instance mutex;
# tools/read-dump must turn each dump into a stack that names the crashing function and its line.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=${1:-$root/build/bin}
source "$root/tools/wine-env"
trap dioramix_cleanup_on_exit EXIT
dioramix_prefix_ready
dioramix_scratch work crash
failures=0
bad() { echo "  FAILED: $1"; failures=$((failures + 1)); }

# The data folder is beside the program when that is writable: the dumps land in $work.
cp "$bin/Dioramix.exe" "$work/"
exe_win=$(winepath -w "$work/Dioramix.exe" 2>/dev/null)

# $1 kind; $2 the longest run in seconds. Leaves the dump's path in $dump ("" when none).
crash() {
  rm -f "$work"/Dioramix-crash-*.dmp
  local started=$SECONDS
  timeout 60 wine "$exe_win" "-crash-test=$1" >/dev/null 2>&1 </dev/null
  local took=$((SECONDS - started))
  echo "crash $1: ended after $took s"
  ((took <= $2)) || bad "$1: the process took $took s to end (at most $2)"
  dump=$(ls "$work"/Dioramix-crash-*.dmp 2>/dev/null | head -1)
  [ "$(ls "$work"/Dioramix-crash-*.dmp 2>/dev/null | wc -l)" -le 1 ] || bad "$1: more than one dump"
}

# $1 kind; the rest, patterns the stack must show in order of appearance (grep -E each).
stack_shows() {
  local kind=$1; shift
  [ -n "$dump" ] || { bad "$kind: no dump"; return; }
  local stack
  stack=$("$root/tools/read-dump" "$dump" "$bin/Dioramix.exe" 2>&1) || { bad "$kind: read-dump failed"; echo "$stack"; return; }
  echo "$stack" | head -12
  local pattern
  for pattern in "$@"; do
    grep -qE "$pattern" <<<"$stack" || bad "$kind: the stack lacks /$pattern/"
  done
}

# Wine starts slowly on a busy machine; the bound is the dump's wait with room for that.
crash ui 40
stack_shows ui "access violation" "#0 +WriteThroughNullPointer.* at .*crash_dump\.cpp:[0-9]+" \
  "CrashOnPurpose.* at .*crash_dump\.cpp:[0-9]+" "CWallpaperApp::Run.* at .*application\.cpp:[0-9]+" "wWinMain"
crash worker 40
stack_shows worker "access violation" "#0 +WriteThroughNullPointer" "#1 +operator\(\) at .*crash_dump\.cpp:[0-9]+"
crash overflow 40
stack_shows overflow "stack overflow" "RecurseWithoutEnd.* at .*crash_dump\.cpp:[0-9]+" "the frame above [0-9]+ more times"
# Two threads crashing together: one dump (of either), one end.
crash two-threads 40
stack_shows two-threads "access violation" "#0 +WriteThroughNullPointer" "#1 +operator\(\) at .*crash_dump\.cpp:[0-9]+"
# A writer blocked on the held heap must not hold the process: it ends after the bounded wait.
crash heap-locked 50
[ -z "$dump" ] || stack_shows heap-locked "#0 +WriteThroughNullPointer" "CrashWhileHeapIsLocked"
# Every crash above released the mutex, or the next run would have ended at once without a dump;
# the last one is checked by a run that must reach the dump again.
crash ui 40
[ -n "$dump" ] || bad "after the crashes, the program could not run again"

echo "crash dumps: $failures failure(s)"
[ "$failures" -eq 0 ]
