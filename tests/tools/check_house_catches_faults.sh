#!/usr/bin/env bash
# tools/check-house on a small scratch tree: clean, it passes; each fault planted alone makes it
# fail naming the rule and the line; the same words in a comment, a string or a place the rule
# allows do not. Seconds, and the real tree is left alone.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir -p "$tree"/src/{framework,composer,settings_ui} "$tree"/tests/windows
cat > "$tree/src/framework/registry.cpp" <<'EOF'
#include "framework/registry.h"
HKEY Open() { HKEY key; RegOpenKeyExW(HKEY_CURRENT_USER, L"x", 0, KEY_READ, &key); return key; }
EOF
printf '#pragma once\n' > "$tree/src/framework/registry.h"
cat > "$tree/src/composer/canvas.h" <<'EOF'
#pragma once
#include "framework/registry.h"
// The window procedure is never swapped (GWLP_WNDPROC), nor RegOpenKeyExW called here.
EOF
cat > "$tree/src/composer/canvas.cpp" <<'EOF'
#include "composer/canvas.h"
#include "composer/layout.h"
const char* kNote = "GWLP_WNDPROC and RegCreateKeyExW and OnMessage(WM_INITDIALOG in a string";
EOF
printf '#pragma once\n#include "framework/registry.h"\n' > "$tree/src/composer/layout.h"
printf '#include "layout.h"\n' > "$tree/src/composer/layout.cpp"  # beside it: the same part
printf '#include "settings_ui/page.h"\n' > "$tree/src/settings_ui/page.cpp"
printf '#pragma once\n#include "composer/canvas.h"\n' > "$tree/src/settings_ui/page.h"
# A test may read the registry its own way.
printf 'void Read() { RegOpenKeyExW(HKEY_CURRENT_USER, L"x", 0, KEY_READ, nullptr); }\n' \
  > "$tree/tests/windows/registry_test.cpp"

check() { python3 "$root/tools/check-house" "$tree" 2>&1; }

out=$(check) || fail "a clean tree failed: $out"

# Each fault: the file, the line planted at its end, and what the finding must say.
faults=(
  "src/settings_ui/page.cpp|void Bind(HWND h) { ::SetWindowLongPtrW(h, GWLP_WNDPROC, 0); }|src/settings_ui/page.cpp:2: window-procedure-swap"
  "tests/windows/registry_test.cpp|LONG_PTR Old(HWND h) { return ::GetWindowLongPtrW(h, GWLP_WNDPROC); }|tests/windows/registry_test.cpp:2: window-procedure-swap"
  "src/composer/canvas.cpp|void Keep() { RegCreateKeyExW(HKEY_CURRENT_USER, L\"x\", 0, 0, 0, 0, 0, 0, 0); }|src/composer/canvas.cpp:4: raw-registry-key"
  "src/settings_ui/page.cpp|HKEY k; void Open() { ::RegOpenKeyExA(HKEY_CURRENT_USER, \"x\", 0, KEY_READ, &k); }|src/settings_ui/page.cpp:2: raw-registry-key"
  "src/settings_ui/page.cpp|    fw::OnMessage(WM_INITDIALOG, &CPage::OnInit),|src/settings_ui/page.cpp:2: init-dialog-in-table"
  "src/composer/layout.cpp|#include \"canvas.h\"|src/composer/canvas.cpp:2: include-cycle: src/composer/canvas -> src/composer/layout -> src/composer/canvas"
  "src/composer/layout.h|#include \"settings_ui/page.h\"|include-cycle: src/composer/canvas -> src/composer/layout -> src/settings_ui/page -> src/composer/canvas"
  "src/framework/registry.h|#include \"composer/canvas.h\"|include-cycle: src/composer/canvas -> src/framework/registry -> src/composer/canvas (tied up with them: src/composer/layout)"
)
for fault in "${faults[@]}"; do
  IFS='|' read -r file line expected <<<"$fault"
  cp "$tree/$file" "$tree/$file.kept"
  printf '%s\n' "$line" >> "$tree/$file"
  out=$(check) && fail "passed with '$line' in $file"
  grep -qF -- "$expected" <<<"$out" || fail "no '$expected' for '$line': $out"
  [ "$(grep -cE '^[^ ]+:[0-9]+: ' <<<"$out")" -eq 1 ] || fail "not one finding for '$line': $out"
  mv "$tree/$file.kept" "$tree/$file"
done
out=$(check) || fail "the tree did not come back clean: $out"

[ "$failures" -eq 0 ] && echo "check-house catches every planted fault"
exit $((failures > 0))
