#!/usr/bin/env bash
# Checks the release's MSI the way IT deploys it, under Wine in a throwaway
# prefix: silent install; the installed program's version, hardening flags
# and shortcut; a signed package of the same version over the unsigned one;
# upgrade to a higher version whose program differs; refused downgrade;
# silent uninstall that keeps the user's records. Closes with
# "install: N passed, N failed".
#   tests/scripts/install_test.sh MSI STAGE-DIR VERSION
# (STAGE-DIR: the staged release the MSI was made of; the signed and the
# higher packages are made from copies of it.)
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/lib.sh"
. "$here/../../scripts/release.sh"
. "$here/throwaway_cert.sh"
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
program="$WINEPREFIX/drive_c/Program Files/ICH Score"
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

# What a table of a package holds, by SQL.
msi_rows() {  # msi sql
  WINDOWS_LANGUAGE=zh_CN /usr/bin/python3 scripts/msi_query.py "$1" "$2"
}
property() { msi_rows "$1" "SELECT \`Value\` FROM \`Property\` WHERE \`Property\` = '$2'"; }
# The program's File row, "VERSION<TAB>LANGUAGE", and no hash row for it.
file_version() {  # msi version language
  [ "$(msi_rows "$1" "SELECT \`Version\`, \`Language\` FROM \`File\` WHERE \`File\` = 'ichscore.exe'")" = \
    "$2"$'\t'"$3" ] && [ -z "$(msi_rows "$1" "SELECT \`File_\` FROM \`MsiFileHash\` WHERE \`File_\` = 'ichscore.exe'")" ]
}
# The summary information's subject and comments, in code page 936 and
# not in UTF-8, which Windows would read in that code page as other
# characters.
summary_in_936() {  # msi
  /usr/bin/python3 - "$1" "$title" <<'PY'
import sys
sys.path.insert(0, 'scripts')
from compound_stream import CompoundFile
stream = CompoundFile(bytearray(open(sys.argv[1], 'rb').read())).read('\x05SummaryInformation')
title = sys.argv[2]
sys.exit(not (stream.count(title.encode('cp936')) == 2 and title.encode('utf-8') not in stream))
PY
}
# The flags of the installed program's header a security review reads.
hardened() {
  local p; p=$(x86_64-w64-mingw32-objdump -p "$program/ichscore.exe") || return 1
  for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE; do
    grep -qw "$flag" <<<"$p" || { echo "the installed program lacks $flag"; return 1; }
  done
}
# The report the self-test writes with the default values.
printf '%s\r\n' "TOOL|148|$title|神经科" "LEVEL|1" "OUT|ICH 评分|1|分" "OUT|估计病死率|13|%" \
  "VERDICT|低中危，监测意识与瞳孔" "DETAIL|ICH 评分：1 分 估计病死率：13 % " "ERRORS|0" >"$tree/expected.txt"
selftest_of() {  # program: its self-test, run from the test's folder, writes the expected report
  rm -f "$tree/selftest.txt"
  (cd "$tree" && wine "$1" --selftest selftest.txt >/dev/null 2>&1 </dev/null)
  cmp -s "$tree/expected.txt" "$tree/selftest.txt"
}
# The shortcut's target, as the link records it, is the installed program
# and starts it.
shortcut_starts() {
  local target unix
  target=$(/usr/bin/python3 tests/scripts/lnk_target.py "$(shortcuts | head -1)") &&
    unix=$(wine winepath -u "$target" 2>/dev/null </dev/null) &&
    cmp -s "$unix" "$program/ichscore.exe" && selftest_of "$unix"
}
# Programs and Features says where the program went.
installed_at() {  # windows path
  [ "$(entries | sed -n 's/^"InstallLocation"="\(.*\)"$/\1/p' | sed 's/\\\\/\\/g')" = "$1" ]
}
hash_of() { sha256sum <"$1" | cut -d' ' -f1; }

# The packages the check installs besides the release: the same version
# with the program signed (and the package), as `scripts/package --sign`
# makes it; and a higher version whose program's version resource says so.
copy_stage() {  # name
  rm -rf "$tree/$1" && cp -a "$stage" "$tree/$1"
}
IFS=. read -r major minor _ <<<"$version"
higher="$major.$((${minor:-0} + 1))"
export ICH_SIGN_PASSWORD=throwaway
made=0
ich_throwaway_cert "$tree" && copy_stage signed &&
  ich_sign_file "$tree/cert.pfx" "$tree/signed/ichscore.exe" && ich_stage_sums "$tree/signed" &&
  ich_build_msi "$tree/signed" "$version" "$tree/signed.msi" 0 &&
  ich_sign_file "$tree/cert.pfx" "$tree/signed.msi" && made=$((made + 1))
copy_stage higher && /usr/bin/python3 tests/scripts/set_file_version.py "$tree/higher/ichscore.exe" "$higher.0.0" &&
  ich_stage_sums "$tree/higher" && ich_build_msi "$tree/higher" "$higher" "$tree/higher.msi" 0 &&
  made=$((made + 1))
check "the signed and the higher package are built" [ "$made" -eq 2 ]

check "the program's File row has its version and language, and no hash" file_version "$msi" "$version.0.0" 2052
check "the summary's subject and comments are in code page 936" summary_in_936 "$msi"
check "a package whose program differs has another ProductCode" \
  eval '[ -n "$(property "$msi" ProductCode)" ] && [ "$(property "$msi" ProductCode)" != "$(property "$tree/signed.msi" ProductCode)" ]'
check "and the same UpgradeCode" \
  eval '[ -n "$(property "$msi" UpgradeCode)" ] && [ "$(property "$msi" UpgradeCode)" = "$(property "$tree/signed.msi" UpgradeCode)" ]'

wineboot -i >/dev/null 2>&1 </dev/null || { echo "install: wineboot failed"; exit 1; }
check "a silent install succeeds" wine msiexec /i "$msi" /qn
check "the installed program's self-test writes the report" selftest_of "$program/ichscore.exe"
check "one Start-menu shortcut to the program, with its icon" shortcut
check "the shortcut's target is the installed program and starts it" shortcut_starts
check "one uninstall entry, with the version and publisher" one_entry "$version"
check "the uninstall entry's icon is the program's" [ -f "$WINEPREFIX/drive_c$(arp_icon)" ]
check "the uninstall entry says where the program went" installed_at 'C:\Program Files\ICH Score\'
check "the installed program is ASLR (high entropy), DEP and terminal-server aware" hardened
# The program limits the DLL search to System32 at its start, by the call
# it imports or looks up at run time; either way its name is in the file.
check "the installed program names SetDefaultDllDirectories" \
  grep -qaF SetDefaultDllDirectories "$program/ichscore.exe"

check "the signed package of the same version installs over it" wine msiexec /i "$tree/signed.msi" /qn
check "it leaves one uninstall entry" one_entry "$version"
check "the installed program is the signed one and verifies" \
  eval '[ "$(hash_of "$program/ichscore.exe")" = "$(hash_of "$tree/signed/ichscore.exe")" ] &&
    osslsigncode verify -CAfile "$tree/cert.pem" -in "$program/ichscore.exe" >/dev/null 2>&1'

check "the higher package's program row has its version" file_version "$tree/higher.msi" "$higher.0.0" 2052
check "a higher version installs silently" wine msiexec /i "$tree/higher.msi" /qn
check "it replaces the lower one's uninstall entry" one_entry "$higher"
check "the program and its README are installed" installed
check "the installed program is the higher package's" \
  eval '[ "$(hash_of "$program/ichscore.exe")" = "$(hash_of "$tree/higher/ichscore.exe")" ]'
check "and its version resource, read from the installed file, says so" \
  eval '[ "$(python3 scripts/pe_version.py "$program/ichscore.exe")" = "$higher.0.0 2052" ]'
check "the lower version refuses to go back over it" eval '! wine msiexec /i "$msi" /qn'

records="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/XeluMedSuite/records"
[ -d "${records%/XeluMedSuite/*}" ] && mkdir -p "$records" && printf 'kept\r\n' >"$records/T148.csv" ||
  echo "install: no local application data folder for the records"
check "a silent uninstall succeeds" wine msiexec /x "$tree/higher.msi" /qn
check "it removes the program, the shortcut and the entry" eval '[ ! -e "$program" ] && [ -z "$(shortcuts)" ] && no_entry'
check "it keeps the user's records" [ "$(cat "$records/T148.csv" 2>/dev/null)" = $'kept\r' ]

echo "install: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
