# Sourced by the checks of the tools: a scratch copy of tools/ beside bin/ (for stand-ins, first on
# the PATH) and build/, all removed at exit, and a count of failures.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cp -r "$root/tools" "$scratch/tools"
mkdir -p "$scratch/bin" "$scratch/build"
export PATH="$scratch/bin:$PATH"
