#!/usr/bin/env bash
# A failed compile must fail tools/build, show its error, and stop every tool that builds first;
# a build whose output is all progress lines must still succeed. The tools run from a scratch
# copy with stand-ins for cmake, the host set-up and the Wine environment, so this takes seconds
# and leaves the real build, the prefix and the display alone.
source "$(dirname "$0")/scratch-tools.sh"

log="$scratch/went-on.log"
: > "$log"

# cmake configures nothing; a build prints what make prints and fails when asked to.
cat > "$scratch/bin/cmake" <<'STANDIN'
#!/usr/bin/env bash
[ "${1:-}" = --build ] || exit 0
echo "[ 40%] Building CXX object CMakeFiles/dioramix_composer.dir/src/composer/canvas.cpp.obj"
if [ "$STANDIN_BUILD" = broken ]; then
  echo "src/composer/canvas.cpp:12:1: error: 'broken' does not name a type"
  echo "make[2]: *** [CMakeFiles/dioramix_composer.dir/build.make:76: canvas.cpp.obj] Error 1"
  exit 2
fi
echo "[100%] Linking CXX executable bin/Dioramix.exe"
STANDIN
chmod +x "$scratch/bin/cmake"
printf '#!/usr/bin/env bash\nexit 0\n' > "$scratch/tools/setup-host"
printf '#!/usr/bin/env bash\necho /nonexistent\n' > "$scratch/tools/setup-libjpeg-turbo"
# Every tool sources the Wine environment right after building: reaching it means it went on.
printf 'echo "${0##*/}" >> "%s"\nexit 97\n' "$log" > "$scratch/tools/wine-env"

export PATH="$scratch/bin:$PATH" DIORAMIX_BUILD_DIR="$scratch/build"
unset DIORAMIX_LIBJPEG

# A clean build prints only progress lines, which are dropped: grep selects nothing, no failure.
out=$(STANDIN_BUILD=clean "$scratch/tools/build" 2>&1) || fail "tools/build failed a clean build: $out"
grep -q 'Building CXX' <<<"$out" && fail "tools/build printed the progress lines: $out"

out=$(STANDIN_BUILD=broken "$scratch/tools/build" 2>&1) && fail "tools/build succeeded with a broken source"
grep -q "error: 'broken'" <<<"$out" || fail "tools/build hid the compiler's error: $out"

mapfile -t builders < <(grep -ls '"$root/tools/build"' "$scratch"/tools/* | sort)
[ "${#builders[@]}" -ge 5 ] || fail "found only ${#builders[@]} tools that build first"
for tool in "${builders[@]}"; do
  name=${tool##*/}
  STANDIN_BUILD=broken timeout 60 "$tool" </dev/null >/dev/null 2>&1
  status=$?
  [ "$status" -ne 0 ] || fail "$name succeeded after a failed build"
done
[ -s "$log" ] && fail "went on after a failed build: $(tr '\n' ' ' < "$log")"
# The clean build lets them go on: the stand-in environment is reached, so the check above is live.
: > "$log"
STANDIN_BUILD=clean timeout 60 "$scratch/tools/kill-test" </dev/null >/dev/null 2>&1
[ "$(grep -cx kill-test "$log")" -eq 1 ] || fail "kill-test did not go on after a clean build"

[ "$failures" -eq 0 ] && echo "every tool stops on a failed build (${#builders[@]} tools)"
exit $((failures > 0))
