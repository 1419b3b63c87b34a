#!/usr/bin/env bash
# tools/check-house-state on a scratch copy of src/: the tree as it is passes; a public field
# planted in either owner class, or a file name or env.ini key spelled above src/state, fails with
# the place named. Members that are methods (with bodies, brace-initialised defaults, templates in
# their types) never count.
source "$(dirname "$0")/scratch-tools.sh"

copy() { rm -rf "$scratch/tree"; mkdir -p "$scratch/tree"; cp -r "$root/src" "$scratch/tree/src"; }
check() { python3 "$scratch/tools/check-house-state" "$scratch/tree" > "$scratch/out.txt" 2>&1; }
# Inserts a line after the first line of the file matching the pattern.
plant() { sed -i "0,/$2/s/$2.*/&\n$3/" "$scratch/tree/src/$1"; }

copy
check || fail "the tree as it is: $(cat "$scratch/out.txt")"

# Each fault on its own: the check fails and names it.
while IFS='|' read -r file pattern line expected; do
  copy
  plant "$file" "$pattern" "$line"
  if check; then
    fail "not caught: $line in $file"
  elif ! grep -qF -- "$expected" "$scratch/out.txt"; then
    fail "caught without naming it ($expected): $(cat "$scratch/out.txt")"
  fi
done <<'FAULTS'
composer/composer.h|^    bool IsComposing|    int m_planted = 0;|public data member of Composer: int m_planted = 0
composer/composer.h|^    bool IsComposing|    std::function<void(ComposePhase)> onPlanted;|public data member of Composer: std::function
state/catalogue.h|^    bool HasFolders|    std::vector<std::string> m_planted{};|public data member of ImageCatalogue
app/wallpaper_dlg.cpp|^void CWallpaperDlg::OnShowDesktop|static const char* planted = "poslist.txt";|app/wallpaper_dlg.cpp:
settings_ui/set_path.cpp|^namespace {|constexpr wchar_t kPlanted[] = L"\\\\\\\\Dioramix.log";|spells dioramix.log
composer/composer.cpp|^namespace {|const char* kPlanted = "ispause";|spells ispause
FAULTS

# Methods of every shape stay allowed in a public section.
copy
plant composer/composer.h '^    bool IsComposing' '    int Planted() const { return m_layout.monitors.empty() ? 0 : 1; }\n    template <class T> void Each(T t) { t(); }\n    Composer\& operator<<(int);'
check || fail "a method was taken for a field: $(cat "$scratch/out.txt")"
# A comment or an include that names a file is no spelling of it.
copy
plant app/wallpaper_dlg.cpp '^void CWallpaperDlg::OnShowDesktop' '\/\/ "list.txt" is written on the way out'
check || fail "a comment was taken for a literal: $(cat "$scratch/out.txt")"

[ "$failures" -eq 0 ] && echo "check-house-state: every planted fault caught"
exit "$failures"
