#!/usr/bin/env bash
# Checks the release's MSI the way IT deploys it, under Wine in a throwaway
# prefix: silent install, upgrade to a higher version, refused downgrade,
# silent uninstall that keeps the user's records. Closes with
# "install: N passed, N failed".
#   tests/scripts/install_test.sh MSI STAGE-DIR VERSION
# (STAGE-DIR: the staged release the MSI was made of, and the higher one is.)
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/lib.sh"
. "$here/../../scripts/release.sh"
cd "$ICH_ROOT"
msi=$1 stage=$2 version=$3
tree=build/install-test
rm -rf "$tree" && mkdir -p "$tree" || exit 1
ich_wine_env "$ICH_ROOT/$tree"
# Shortcuts stay in the prefix, not in the home folder's menus; Wine reads
# the Chinese folder name on a command line in the locale's character set;
# nothing here needs a display, so none is used, whatever the caller has.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" LC_ALL=C.UTF-8
unset DISPLAY
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$tree"' EXIT
passed=0 failed=0
check() {  # description, then the command that must succeed
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what"; fi
}

title="ICH 脑出血评分"
program="$WINEPREFIX/drive_c/Program Files/$title"
# The exported values of the subkeys of KEY whose NAME is the title.
ours_under() {  # key name
  wine reg export "$1" "$tree/export.reg" /y >/dev/null 2>&1 </dev/null &&
    iconv -f UTF-16 -t UTF-8 "$tree/export.reg" | tr -d '\r' |
    awk -v RS= -v mark="\"$2\"=\"$title\"" 'index($0 "\n", "\n" mark "\n")'
}
entries() { ours_under 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' DisplayName; }
# Exactly one uninstall entry of the product, of the given version.
one_entry() {  # version
  local e; e=$(entries)
  [ "$(grep -c '^"DisplayName"=' <<<"$e")" -eq 1 ] && grep -qx "\"DisplayVersion\"=\"$1\"" <<<"$e" &&
    grep -qx '"Publisher"="XeluMed"' <<<"$e"
}
no_entry() { local e; e=$(entries) && [ -z "$e" ]; }
arp_icon() {
  ours_under 'HKLM\Software\Classes\Installer\Products' ProductName |
    sed -n 's/^"ProductIcon"="C:\(.*\)"$/\1/p' | sed 's/\\\\/\//g'
}
# Wine keeps a per-machine package's shortcuts in the user's Start menu,
# Windows in the all-users one: one, named by the title, to the program,
# with its icon (their names in the link's UTF-16 texts).
shortcuts() { find "$WINEPREFIX/drive_c" -name "$title.lnk"; }
shortcut() { [ "$(shortcuts | wc -l)" -eq 1 ] && tr -d '\000' <"$(shortcuts)" | grep -qaF '\ichscore.exe' &&
  tr -d '\000' <"$(shortcuts)" | grep -qaF '\ichscore.ico'; }
installed() { [ -f "$program/ichscore.exe" ] && [ -f "$program/README_zh.txt" ]; }

wineboot -i >/dev/null 2>&1 </dev/null || { echo "install: wineboot failed"; exit 1; }
check "a silent install succeeds" wine msiexec /i "$msi" /qn
printf '%s\r\n' "TOOL|148|$title|神经科" "LEVEL|1" "OUT|ICH 评分|1|分" "OUT|估计病死率|13|%" \
  "VERDICT|低中危，监测意识与瞳孔" "DETAIL|ICH 评分：1 分 估计病死率：13 % " "ERRORS|0" >"$tree/expected.txt"
(cd "$tree" && wine "$program/ichscore.exe" --selftest selftest.txt >/dev/null 2>&1 </dev/null)
check "the installed program's self-test writes the report" cmp -s "$tree/expected.txt" "$tree/selftest.txt"
check "one Start-menu shortcut to the program, with its icon" shortcut
check "one uninstall entry, with the version and publisher" one_entry "$version"
check "the uninstall entry's icon is the program's" [ -f "$WINEPREFIX/drive_c$(arp_icon)" ]

IFS=. read -r major minor _ <<<"$version"
higher="$major.$((${minor:-0} + 1))"
ich_build_msi "$stage" "$higher" "$tree/higher.msi" 0 || echo "install: could not build $higher"
check "a higher version installs silently" wine msiexec /i "$tree/higher.msi" /qn
check "it replaces the lower one's uninstall entry" one_entry "$higher"
check "the program and its README are installed" installed
check "the lower version refuses to go back over it" eval '! wine msiexec /i "$msi" /qn'

records="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/XeluMedSuite/records"
[ -d "${records%/XeluMedSuite/*}" ] && mkdir -p "$records" && printf 'kept\r\n' >"$records/T148.csv" ||
  echo "install: no local application data folder for the records"
check "a silent uninstall succeeds" wine msiexec /x "$tree/higher.msi" /qn
check "it removes the program, the shortcut and the entry" eval '[ ! -e "$program" ] && [ -z "$(shortcuts)" ] && no_entry'
check "it keeps the user's records" [ "$(cat "$records/T148.csv" 2>/dev/null)" = $'kept\r' ]

echo "install: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
