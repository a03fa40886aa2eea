#!/usr/bin/env bash
# Checks the release's MSI the way IT deploys it, under Wine in a throwaway
# prefix: every version the release carries against the project's; silent
# install; the installed program's self-test, verification, hardening flags and
# shortcut; the notices and the bill of materials beside it; a signed
# package of the same version over the unsigned one; upgrade to a higher
# version whose program differs; refused downgrade; silent uninstall that
# keeps the user's records. Closes with "install: N passed, N failed".
#   packaging/install_check.sh MSI STAGE-DIR VERSION
# (STAGE-DIR: the staged release the MSI was made of; the signed and the
# higher packages are made from copies of it. The zip is beside the MSI.)
# A pipeline fails when any of its commands fails, so a failing msiinfo or
# wine cannot leave an empty result that a check takes for "none". (Its
# readers read to the end: one that stops early, grep -q or head, would let
# the writer fail on the closed pipe.)
set -u -o pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../scripts/lib.sh"
. "$here/release.sh"
cd "$ICH_ROOT"
msi=$1 stage=$2 version=$3
tree=build/install-test
rm -rf "$tree" && mkdir -p "$tree" || exit 1
ich_wine_env "$ICH_ROOT/$tree"
# Shortcuts stay in the prefix, not in the home folder's menus; Wine reads
# the Chinese folder name on a command line in the locale's character set;
# the verification drives the program's hidden window, which Wine creates
# only on a display: a virtual one of this check's own, whatever the caller has.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d" LC_ALL=C.UTF-8
ich_start_xvfb || { echo "install: no virtual display"; exit 1; }
trap 'ich_wine_session_stop; rm -rf "$tree"' EXIT

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
shortcut() { [ "$(shortcuts | wc -l)" -eq 1 ] && tr -d '\000' <"$(shortcuts)" | grep -aF '\ichscore.exe' >/dev/null &&
  tr -d '\000' <"$(shortcuts)" | grep -aF '\ichscore.ico' >/dev/null; }
# Every staged file is installed as it was staged.
installed_as() {  # stage-dir
  local f
  for f in "${ICH_STAGED_FILES[@]}"; do cmp -s "$1/$f" "$program/$f" || return 1; done
}

# The rows of a table of a package, their fields separated by tabs.
table() {  # msi table
  msiinfo export "$1" "$2" | tail -n +4 | tr -d '\r'
}
property() { table "$1" Property | awk -F'\t' -v name="$2" '$1 == name { print $2 }'; }
# The program's File row, "VERSION<TAB>LANGUAGE", and no hash row for it.
file_version() {  # msi version language
  local files hashes
  files=$(table "$1" File) && hashes=$(table "$1" MsiFileHash) || return 1
  [ "$(awk -F'\t' '$1 == "ichscore.exe" { print $5 "\t" $6 }' <<<"$files")" = "$2"$'\t'"$3" ] &&
    [ -z "$(awk -F'\t' '$1 == "ichscore.exe"' <<<"$hashes")" ]
}
# The summary information's subject and comments, in code page 936 and
# not in UTF-8, which Windows would read in that code page as other
# characters.
summary_in_936() {  # msi
  local raw; raw=$(msiinfo suminfo "$1") || return 1
  ! grep -qF "$title" <<<"$raw" && iconv -f GBK -t UTF-8 <<<"$raw" |
    grep -cxE "(Subject|Comments): $title $version.*" | grep -qx 2
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
# The installed program's report of the given switch (selftest or verify),
# run from the test's folder as IT would run it, is written with exit code 0
# and has the SHA-256 the installed README_zh.txt gives for it.
report_as_readme_says() {  # switch
  local expected
  expected=$(tr -d '\r' <"$program/README_zh.txt" | sed -n "s/^ *$1\\.txt：\([0-9a-f]\{64\}\)\$/\1/p")
  rm -f "$tree/$1.txt"
  (cd "$tree" && wine "$program/ichscore.exe" "--$1" "$1.txt" >/dev/null 2>&1 </dev/null) &&
    [ -n "$expected" ] && [ "$(hash_of "$tree/$1.txt")" = "$expected" ]
}
# The shortcut's target, as the link records it, is the installed program
# and starts it.
shortcut_starts() {
  local target unix
  target=$(lnkinfo "$(shortcuts | sed -n 1p)" | sed -n 's/^\s*Local path\s*:\s*//p' | sed -n 1p) &&
    unix=$(wine winepath -u "$target" 2>/dev/null </dev/null) &&
    cmp -s "$unix" "$program/ichscore.exe" && selftest_of "$unix"
}
# Programs and Features says where the program went.
installed_at() {  # windows path
  [ "$(entries | sed -n 's/^"InstallLocation"="\(.*\)"$/\1/p' | sed 's/\\\\/\\/g')" = "$1" ]
}
hash_of() { sha256sum <"$1" | cut -d' ' -f1; }

# The notices, for Notepad (byte-order mark, CR LF), hold in full the
# mingw-w64 runtime's ZPL 2.1 text and the winpthreads notices (expat, and
# the BSD text of its pthread.h) as Debian's copyright file has them, and
# the notices of the code libstdc++ builds into std::to_chars and
# std::from_chars: Ryu's licence and fast_float's MIT notice.
notices_complete() {  # notices
  local notices licence text
  [ "$(head -c 3 "$1" | od -An -tx1 | tr -d ' ')" = efbbbf ] && ! grep -qv $'\r$' "$1" || return 1
  notices=$(tail -c +4 "$1" | tr -d '\r') || return 1
  for licence in ZPL-2.1 expat BSD-3-clause-Lockless; do
    text=$(awk -v l="License: $licence" '$0 == l { on = 1; buf = ""; next }
      on && /^$/ { if (buf != "") { printf "%s", buf; exit } on = 0 }
      on { buf = buf $0 "\n" }' /usr/share/doc/mingw-w64-x86-64-dev/copyright | sed 's/^ \.$//; s/^ //')
    [ -n "$text" ] && [[ $notices == *"$text"* ]] || { echo "the notices lack the $licence text"; return 1; }
  done
  for licence in ryu fast_float; do
    text=$(cat "packaging/licenses/$licence.txt") && [ -n "$text" ] && [[ $notices == *"$text"* ]] ||
      { echo "the notices lack $licence's notice"; return 1; }
  done
}
# The bill of materials is CycloneDX 1.5 JSON naming the program with its
# version, SHA-256, supplier and licence and the tool that wrote it; each
# Debian package the program links code from, at the version dpkg-query
# reports, with the linked parts nested under it.
sbom_complete() {  # sbom program version
  /usr/bin/python3 - "$1" "$(hash_of "$2")" "$3" <<'PY'
import json, subprocess, sys
bom = json.load(open(sys.argv[1], encoding='utf-8'))
assert (bom['bomFormat'], bom['specVersion'], bom['version']) == ('CycloneDX', '1.5', 1), 'format'
program = bom['metadata']['component']
assert (program['name'], program['version']) == ('ichscore', sys.argv[3]), 'program version'
assert program['hashes'] == [{'alg': 'SHA-256', 'content': sys.argv[2]}], 'program SHA-256'
assert program['supplier']['name'] == 'XeluMed' and program['licenses'], 'program supplier, licence'
assert bom['metadata']['tools']['components'][0]['name'] == 'third_party.py', 'tools'
def names(components):
    return sorted(n for c in components for n in [c['name']] + names(c.get('components', [])))
for c in bom['components']:
    installed = subprocess.run(['dpkg-query', '-W', '-f=${Version}', c['name']],
                               capture_output=True, text=True, check=True).stdout
    assert c['version'] == installed and c['licenses'] and c['purl'], (c['name'], installed)
assert names(bom['components']) == sorted([
    'mingw-w64-x86-64-dev', 'mingw-w64-crt', 'gdtoa', 'mingw-w64-printf', 'winpthreads',
    'g++-mingw-w64-x86-64-posix', 'libstdc++', 'ryu', 'fast_float', 'cp-demangle',
    'gcc-mingw-w64-x86-64-posix', 'libgcc', 'libssp']), names(bom['components'])
libstdcxx = [p for c in bom['components'] for p in c['components'] if p['name'] == 'libstdc++'][0]
assert all(x in libstdcxx['licenses'][0]['expression'] for x in
           ('(Apache-2.0 OR BSL-1.0)', '(MIT OR Apache-2.0)')), libstdcxx['licenses']
assert bom['dependencies'] == [{'ref': program['bom-ref'],
                                'dependsOn': [c['bom-ref'] for c in bom['components']]}], 'dependencies'
PY
}
# The project's version as a Windows file version: "1.0" is 1.0.0.0.
quad() {  # version
  local a b c d
  IFS=. read -r a b c d <<<"$1"
  echo "$a.${b:-0}.${c:-0}.${d:-0}"
}
# Every copy of the version the release carries says VERSION: the file
# names, the MSI's ProductVersion and File row, and, read from the
# installed program, its version resource (fixed part and texts), its
# manifest and its about box's text.
versions_read_back() {  # version
  local q about zip=${msi%.msi}.zip
  q=$(quad "$1")
  about=$(printf '版本 V%s    官网：' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 | tr -d ' \n')
  [ "$(basename "$msi")" = "ichscore-$1-win64.msi" ] && [ -f "$zip" ] &&
    [ "$(basename "$zip")" = "ichscore-$1-win64.zip" ] &&
    [ "$(property "$msi" ProductVersion)" = "$1" ] && file_version "$msi" "$q" 2052 &&
    [ "$(/usr/bin/python3 packaging/pe_version.py "$program/ichscore.exe")" = \
      "$(printf '%s\n' "file $q" "product $q" "FileVersion $1" "ProductVersion $1" "language 2052" "manifest $q")" ] &&
    od -An -tx1 -v "$program/ichscore.exe" | tr -d ' \n' | grep "$about" >/dev/null
}
# The zip holds the staged files in the release's folder.
zip_holds_stage() {
  local zip=${msi%.msi}.zip name
  name=$(basename "$zip" .zip)
  [ "$(unzip -Z1 "$zip" | sort)" = "$(printf '%s\n' "$name/" "${ICH_STAGED_FILES[@]/#/$name/}" | sort)" ]
}

# The packages the check installs besides the release: the same version
# with the program signed (and the package), as `scripts/package --sign`
# makes it; and a higher version whose program's version resource says so.
# Each copy's notices, bill of materials and checksums are made anew for
# its program.
copy_stage() {  # name
  rm -rf "$tree/$1" && cp -a "$stage" "$tree/$1"
}
restage() {  # name version
  ich_stage_third_party "$tree/$1" "$2" 0 "$(ich_link_map "$stage")" && ich_stage_sums "$tree/$1"
}
IFS=. read -r major minor _ <<<"$version"
higher="$major.$((${minor:-0} + 1))"
export ICH_SIGN_PASSWORD=throwaway
made=0
ich_throwaway_cert "$tree" && copy_stage signed &&
  ich_sign_file "$tree/cert.pfx" "$tree/signed/ichscore.exe" && restage signed "$version" &&
  ich_build_msi "$tree/signed" "$version" "$tree/signed.msi" 0 &&
  ich_sign_file "$tree/cert.pfx" "$tree/signed.msi" && made=$((made + 1))
copy_stage higher &&
  /usr/bin/python3 packaging/pe_version.py "$tree/higher/ichscore.exe" --set "$(quad "$higher")" &&
  restage higher "$higher" && ich_build_msi "$tree/higher" "$higher" "$tree/higher.msi" 0 &&
  made=$((made + 1))
ich_check "the signed and the higher package are built" [ "$made" -eq 2 ]

ich_check "the zip holds every staged file" zip_holds_stage
ich_check "the summary's subject and comments are in code page 936" summary_in_936 "$msi"
ich_check "a package whose program differs has another ProductCode" \
  eval '[ -n "$(property "$msi" ProductCode)" ] && [ "$(property "$msi" ProductCode)" != "$(property "$tree/signed.msi" ProductCode)" ]'
ich_check "and the same UpgradeCode" \
  eval '[ -n "$(property "$msi" UpgradeCode)" ] && [ "$(property "$msi" UpgradeCode)" = "$(property "$tree/signed.msi" UpgradeCode)" ]'

wineboot -i >/dev/null 2>&1 </dev/null || { echo "install: wineboot failed"; exit 1; }
ich_check "a silent install succeeds" wine msiexec /i "$msi" /qn
ich_check "it installs every staged file as staged" installed_as "$stage"
ich_check "the file names, the package, the program's resources and about box say version $version" \
  versions_read_back "$version"
ich_check "the installed program's self-test writes the report" selftest_of "$program/ichscore.exe"
ich_check "its self-test report has the SHA-256 its README gives" report_as_readme_says selftest
ich_check "its verification passes with the SHA-256 its README gives" report_as_readme_says verify
ich_check "one Start-menu shortcut to the program, with its icon" shortcut
ich_check "the shortcut's target is the installed program and starts it" shortcut_starts
ich_check "one uninstall entry, with the version and publisher" one_entry "$version"
ich_check "the uninstall entry's icon is the program's" [ -f "$WINEPREFIX/drive_c$(arp_icon)" ]
ich_check "the uninstall entry says where the program went" installed_at 'C:\Program Files\ICH Score\'
ich_check "the installed program is ASLR (high entropy), DEP and terminal-server aware" hardened
# The program limits the DLL search to System32 at its start, by the call
# it imports or looks up at run time; either way its name is in the file.
ich_check "the installed program names SetDefaultDllDirectories" \
  grep -qaF SetDefaultDllDirectories "$program/ichscore.exe"
ich_check "the installed notices credit the runtime and threads the program links" \
  notices_complete "$program/THIRD_PARTY_NOTICES.txt"
ich_check "the installed bill of materials names the program and its components" \
  sbom_complete "$program/ichscore.cdx.json" "$program/ichscore.exe" "$version"
ich_check "it passes the CycloneDX 1.5 schema, with no purl on two components" \
  /usr/bin/python3 packaging/sbom_check.py "$program/ichscore.cdx.json"

ich_check "the signed package of the same version installs over it" wine msiexec /i "$tree/signed.msi" /qn
ich_check "it leaves one uninstall entry" one_entry "$version"
ich_check "the installed program is the signed one and verifies" \
  eval '[ "$(hash_of "$program/ichscore.exe")" = "$(hash_of "$tree/signed/ichscore.exe")" ] &&
    osslsigncode verify -CAfile "$tree/cert.pem" -in "$program/ichscore.exe" >/dev/null 2>&1'

ich_check "the higher package's program row has its version" \
  file_version "$tree/higher.msi" "$(quad "$higher")" 2052
ich_check "a higher version installs silently" wine msiexec /i "$tree/higher.msi" /qn
ich_check "it replaces the lower one's uninstall entry" one_entry "$higher"
ich_check "it installs the higher package's files" installed_as "$tree/higher"
ich_check "and the installed program's version resource says so" \
  eval '/usr/bin/python3 packaging/pe_version.py "$program/ichscore.exe" | grep -x "file $(quad "$higher")" >/dev/null'
ich_check "the lower version refuses to go back over it" eval '! wine msiexec /i "$msi" /qn'

records="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/XeluMedSuite/records"
[ -d "${records%/XeluMedSuite/*}" ] && mkdir -p "$records" && printf 'kept\r\n' >"$records/T148.csv" ||
  echo "install: no local application data folder for the records"
ich_check "a silent uninstall succeeds" wine msiexec /x "$tree/higher.msi" /qn
ich_check "it removes the program, the shortcut and the entry" eval '[ ! -e "$program" ] && [ -z "$(shortcuts)" ] && no_entry'
ich_check "it keeps the user's records" [ "$(cat "$records/T148.csv" 2>/dev/null)" = $'kept\r' ]

ich_checks_done install
