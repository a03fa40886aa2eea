#!/usr/bin/env bash
# Checks of the scripts that need no Wine: the missing-command line; the
# Wine prefix's set-up against stand-in wine, wineboot and wineserver
# commands that can be told to fail at one step; the product code of a
# staged release; and scripts/package, run on a copy of the project's
# scripts and packaging with stand-in build commands, failing at one step.
# Closes with "scripts: N passed, N failed".
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/lib.sh"
. "$here/../../packaging/release.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Stand-ins. The registry is a file of NAME=DATA lines in the prefix; STUB_FAIL
# names the step that fails: wineboot, reg-add, reg-query or wineserver.
stubs="$work/bin"
mkdir -p "$stubs"
cat >"$stubs/wine" <<'STUB'
#!/usr/bin/env bash
reg="$WINEPREFIX/stub.reg"
# A program's report mode writes a report; told to, one that differs, or
# a verification that fails after writing its report.
case "${2:-}" in --selftest | --verify)
  printf '%s' "$2" >"$3"; [ "${STUB_FAIL:-}" = reports ] && printf ' differs' >>"$3"
  [ "${STUB_FAIL:-}" = windows-verify ] && [ "$2" = --verify ] &&
    { printf ' row 2: FAILED' >>"$3"; echo "stub wine: row 2 differs"; exit 3; }
  exit 0 ;;
esac
[ "$1" = reg ] || exit 0
case "$2" in
  add)   [ "${STUB_FAIL:-}" = reg-add ] && exit 1
         [ "${STUB_DROP:-}" = "$5" ] && exit 0   # reports success, writes nothing
         echo "$5=$7    $9" >>"$reg" ;;
  query) [ "${STUB_FAIL:-}" = reg-query ] && exit 1
         data=$(grep -m1 "^$5=" "$reg" 2>/dev/null | cut -d= -f2-) || exit 1
         printf '%s\r\n    %s    %s\r\n' "$3" "$5" "$data" ;;
esac
STUB
cat >"$stubs/wineboot" <<'STUB'
#!/usr/bin/env bash
[ "${STUB_FAIL:-}" = wineboot ] && exit 1
mkdir -p "$WINEPREFIX/drive_c" && echo boot >>"$WINEPREFIX/../boots"
STUB
cat >"$stubs/wineserver" <<'STUB'
#!/usr/bin/env bash
[ "${STUB_FAIL:-}" = wineserver ] && [ "$1" = -w ] && exit 1
exit 0
STUB
chmod +x "$stubs"/*
export PATH="$stubs:$PATH"

prefix_case() {  # name: a fresh build tree for one case
  tree="$work/$1"
  mkdir -p "$tree"
}
ready() { [ -f "$tree/wineprefix/.ich-ready" ]; }
boots() { [ "$(wc -l <"$tree/boots" 2>/dev/null || echo 0)" -eq "$1" ]; }

# A set-up that fails at any step leaves the prefix unmarked and says why.
for step in wineboot reg-add wineserver reg-query; do
  prefix_case "fail-$step"
  out=$(STUB_FAIL=$step ich_wine_prefix "$tree")
  rc=$?
  ich_check "$step failing: the set-up fails" [ "$rc" -ne 0 ]
  ich_check "$step failing: the prefix is not marked ready" eval '! ready'
  ich_check "$step failing: one line says why" [ "$(grep -c 'wine prefix:' <<<"$out")" -eq 1 ]
done

# A font setting that the registry did not keep fails the set-up.
prefix_case dropped
STUB_DROP=Tahoma ich_wine_prefix "$tree" >/dev/null
ich_check "a font setting not kept: the prefix is not marked ready" eval '! ready'

# A good set-up is marked ready and is reused as it is.
prefix_case good
ich_check "a good set-up succeeds" ich_wine_prefix "$tree"
ich_check "a good set-up is marked ready" ready
touch "$tree/wineprefix/kept"
ich_check "a ready prefix is reused" ich_wine_prefix "$tree"
ich_check "a ready prefix is not booted again" boots 1
ich_check "a ready prefix keeps its files" [ -f "$tree/wineprefix/kept" ]

# A prefix marked ready whose fonts are gone is built anew.
sed -i '/^Microsoft YaHei UI=/d' "$tree/wineprefix/stub.reg"
ich_check "a prefix without its fonts is rebuilt" ich_wine_prefix "$tree" >/dev/null
ich_check "the rebuilt prefix is booted anew" boots 2
ich_check "the rebuilt prefix starts empty" [ ! -f "$tree/wineprefix/kept" ]
ich_check "the rebuilt prefix is marked ready" ready
ich_check "the rebuilt prefix maps the fonts" ich_wine_fonts_mapped

# A missing command is named in one line with its package.
out=$(PATH="$work/empty" ich_require_commands wine)
rc=$?
ich_check "a missing command fails the check" [ "$rc" -ne 0 ]
ich_check "the missing command is named in one line" [ "$out" = "missing commands: wine (package wine)" ]
ich_check "commands that are there pass the check" ich_require_commands wineboot bash

# The product code follows the staged files and the version, nothing else.
stage="$work/stage"
mkdir -p "$stage" && for f in "${ICH_SUMMED_FILES[@]}"; do printf '%s' "$f" >"$stage/$f"; done &&
  ich_stage_sums "$stage"
code=$(ich_product_code "$stage" 1.0)
ich_check "the product code is a GUID" grep -qE '^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$' <<<"$code"
ich_check "the same files and version give the same product code" [ "$(ich_product_code "$stage" 1.0)" = "$code" ]
ich_check "another version gives another product code" [ "$(ich_product_code "$stage" 1.1)" != "$code" ]
cp -a "$stage" "$work/signed" && printf 'signed program' >"$work/signed/ichscore.exe"
ich_check "another program gives another product code" [ "$(ich_product_code "$work/signed" 1.0)" != "$code" ]
rm "$work/signed/README_zh.txt"
ich_check "a staged file missing fails" eval '! ich_product_code "$work/signed" 1.0 2>/dev/null'

# scripts/package stops at a failed step with one line and leaves no release
# in dist/, not even the earlier one. The stand-in cmake "builds" a program,
# its native twin, the linker's map of it and the list of the link's own
# inputs, strip copies it; STUB_FAIL names the step that fails: strip, wixl,
# the reports (the shipped program's differ from the native one's), a
# report run (the native self-test, or the shipped program's verification,
# exits non-zero); the README or the notices fail when their source is
# missing, the notices also when the map links a member that no rule covers
# (by an absolute path or a relative one, or from inside the build tree
# without being the project's own) or a part whose marker text the program
# lacks, or when the GCC notices kept in packaging/licenses/ are from another
# GCC than the toolchain's. A part linked by a relative path gets its notice
# (the run goes on to wixl).
cat >"$stubs/cmake" <<'STUB'
#!/usr/bin/env bash
if [ "$1" = --preset ]; then
  tree=build/$2
  [ "${3:-}" = -B ] && tree=$4
  mkdir -p "$tree/generated" && echo '#define ICH_VERSION_TEXT "1.0"' >"$tree/generated/ichscore_version.h"
  exit
fi
mkdir -p "$2/bin" || exit 1
marker="stack smashing detected"
[ "${STUB_FAIL:-}" = marker ] && marker=""
printf 'MZ %s terminate called after throwing an instance of' "$marker" >"$2/bin/ichscore.exe"
cat >"$2/bin/ichscore" <<'NATIVE' && chmod +x "$2/bin/ichscore"
#!/bin/sh
[ "${STUB_FAIL:-}" = native-selftest ] && [ "$1" = --selftest ] && { echo "stub native: row 5 failed"; exit 4; }
printf %s "$1" >"$2"
NATIVE
# The link runs in the build tree, which holds the project's own inputs.
tree=$PWD/$2
relative() { realpath -s -m --relative-to="$tree" "$1"; }
gcc=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
ssp=$gcc/libssp.a
[ "${STUB_FAIL:-}" = relative-covered ] && ssp=$(relative "$ssp")
{ printf 'Archive member included to satisfy reference by file (symbol)\n\n'
  echo "$ssp(ssp.o)"
  echo "                              main.o (__stack_chk_fail)"
  echo "$gcc/libstdc++.a(floating_to_chars.o)"
  echo "CMakeFiles/ichscore.dir/objects.a(main.cpp.obj)"
  case "${STUB_FAIL:-}" in
    uncovered) echo "$gcc/../../../../x86_64-w64-mingw32/lib/libmingwex.a(lib64_libmingwex_a-getopt.o)" ;;
    relative-uncovered) echo "$(relative /usr/x86_64-w64-mingw32/lib/libmingwex.a)(lib64_libmingwex_a-getopt.o)" ;;
    not-own) echo "CMakeFiles/ichscore.dir/objects.a(stray.obj)" ;;
  esac
  printf '\nLinker script and memory map\n\nLOAD %s\nLOAD libown.a\n' "$gcc/crtbegin.o"
} >"$2/bin/ichscore.map"
printf 'tree %s\ncwd %s\nown %s\nown %s\n' "$tree" "$tree" "$tree/libown.a" \
  "$tree/CMakeFiles/ichscore.dir/app/main.cpp.obj" >"$2/bin/ichscore.own"
STUB
cat >"$stubs/x86_64-w64-mingw32-strip" <<'STUB'
#!/usr/bin/env bash
[ "${STUB_FAIL:-}" = strip ] && exit 1
cp "$3" "$2"
STUB
cat >"$stubs/wixl" <<'STUB'
#!/usr/bin/env bash
exit 1
STUB
chmod +x "$stubs"/*
notices_line="could not write the third-party notices" msi_line="could not build ichscore-1.0-win64.msi"
declare -A failing_line=([readme]="could not write README_zh.txt" [strip]="could not strip"
  [notices]=$notices_line [wixl]=$msi_line [uncovered]=$notices_line [marker]=$notices_line
  [relative-uncovered]=$notices_line [not-own]=$notices_line [relative-covered]=$msi_line
  [gcc-sources]=$notices_line
  [reports]="the shipped ichscore.exe's reports differ"
  [native-selftest]="the native program's self-test or verification failed"
  [windows-verify]="the shipped ichscore.exe's self-test or verification failed under Wine")
# What the output must also say, a line each.
declare -A failing_cause=(
  [uncovered]="links libmingwex.a(lib64_libmingwex_a-getopt.o) from /usr/x86_64-w64-mingw32/lib/libmingwex.a,"
  [relative-uncovered]="links libmingwex.a(lib64_libmingwex_a-getopt.o) from /usr/x86_64-w64-mingw32/lib/libmingwex.a,"
  [not-own]="links objects.a(stray.obj) from /"
  [gcc-sources]="but packaging/licenses/SOURCES.txt names the notices kept there as taken from another GCC"
  [marker]="the map links libssp, but the program lacks its text 'stack smashing detected'"
  [native-selftest]="report run failed: the native program's --selftest exited 4 (
    stub native: row 5 failed
its report selftest.txt: (none)"
  [windows-verify]="report run failed: the Windows program's --verify exited 3 (wine
    stub wine: row 2 differs
    --verify row 2: FAILED")
for step in readme strip reports native-selftest windows-verify notices wixl uncovered \
  relative-uncovered not-own relative-covered gcc-sources marker; do
  copy="$work/package-$step"
  mkdir -p "$copy/app/resources" "$copy/dist" &&
    cp -r "$ICH_ROOT/scripts" "$ICH_ROOT/packaging" "$ICH_ROOT/CMakeLists.txt" "$copy/" &&
    cp "$ICH_ROOT/app/resources/ichscore.ico" "$copy/app/resources/" &&
    touch "$copy/dist/ichscore-1.0-win64.zip" "$copy/dist/ichscore-1.0-win64.msi"
  [ "$step" = readme ] && rm "$copy/packaging/README_zh.txt"
  [ "$step" = notices ] && rm "$copy/packaging/third_party.py"
  [ "$step" = gcc-sources ] && sed -i 's/gcc-[0-9]*-source package/gcc-0-source package/' "$copy/packaging/licenses/SOURCES.txt"
  out=$(STUB_FAIL=$step SOURCE_DATE_EPOCH=1 "$copy/scripts/package" 2>&1)
  rc=$?
  ich_check "package, $step failing: exits non-zero" [ "$rc" -ne 0 ]
  ich_check "package, $step failing: one line says why" [ "$(grep -c '^package: ' <<<"$out")" -eq 1 ]
  ich_check "package, $step failing: it names that step" grep -q "^package: ${failing_line[$step]}" <<<"$out"
  while IFS= read -r cause; do
    ich_check "package, $step failing: it says '$cause'" grep -qF -- "$cause" <<<"$out"
  done < <([ -z "${failing_cause[$step]:-}" ] || printf '%s\n' "${failing_cause[$step]}")
  ich_check "package, $step failing: nothing crashed" eval '! grep -q "^Traceback" <<<"$out"'
  [ "$step" = relative-covered ] && ich_check "package, a part linked by a relative path gets its notice" \
    grep -q "^libssp: " "$copy/build/windows-release/package/ichscore-1.0-win64/THIRD_PARTY_NOTICES.txt"
  ich_check "package, $step failing: no zip or MSI in dist/" \
    eval '[ -z "$(find "$copy/dist" -name "*.zip" -o -name "*.msi")" ]'
done

# The notices kept from GCC's sources name the GCC the toolchain was built
# from, as its Debian package says.
built=$(dpkg-query -W -f='${Built-Using}' g++-mingw-w64-x86-64-posix | grep -o 'gcc-[0-9]* (= [^)]*)')
gcc_version=${built##*= } && gcc_version=${gcc_version%)}
ich_check "package: the notices name the toolchain's GCC" grep -qF \
  "Notices, from its source in GCC ${gcc_version%-*} (${built%% *}-source $gcc_version):" \
  "$work/package-wixl/build/windows-release/package/ichscore-1.0-win64/THIRD_PARTY_NOTICES.txt"

# The bill's check: the bill the stand-in release staged passes it; each fault
# a scanner would trip on fails it for the rule that fault breaks, named by
# the rule's own words, and for no other reason. A crash is no refusal.
bill="$work/package-wixl/build/windows-release/package/ichscore-1.0-win64/ichscore.cdx.json"
ich_check "sbom_check: the staged bill passes" /usr/bin/python3 "$ICH_ROOT/packaging/sbom_check.py" "$bill"
sbom_check="$ICH_ROOT/packaging/sbom_check.py"
refused_for() {  # bill, the start of the broken rule's message
  local out rc
  out=$(/usr/bin/python3 "$sbom_check" "$1" 2>&1)
  rc=$?
  [ "$rc" -eq 1 ] || { echo "sbom_check exited $rc, not 1: $out"; return 1; }
  ! grep -vF "sbom_check: $1: $2" <<<"$out" || { echo "sbom_check refused for another reason"; return 1; }
}
first=b'["components"][0]'
declare -A broken=(
  [a purl on two components]="c = $first; b['components'].append({'type': c['type'], 'name': 'other', 'purl': c['purl']})"
  [a bom-ref on two components]="$first['components'][0]['bom-ref'] = $first['bom-ref']"
  [a property the schema lacks]="$first['colour'] = 'teal'"
  [a Debian purl without its distro]="c = $first; c['purl'] = c['purl'].replace('&distro=debian-12', '')")
declare -A broken_rule=([a purl on two components]="purl on two components: pkg:deb/"
  [a bom-ref on two components]="bom-ref on two components: pkg:deb/"
  [a property the schema lacks]="schema: components/0: Additional properties are not allowed ('colour'"
  [a Debian purl without its distro]="Debian purl without arch and distro=debian-12: pkg:deb/")
for fault in "${!broken[@]}"; do
  rm -f "$work/broken.json"
  ich_check "sbom_check: a bill with $fault is made" /usr/bin/python3 -c "import json, sys
b = json.load(open(sys.argv[1])); ${broken[$fault]}
json.dump(b, open(sys.argv[2], 'w'))" "$bill" "$work/broken.json"
  ich_check "sbom_check: a bill with $fault fails for it" refused_for "$work/broken.json" "${broken_rule[$fault]}"
done
# Neither another rule's refusal, nor an unreadable bill, nor a sound one, nor
# a checker that crashed after naming the rule passes for the refusal.
printf '[]' >"$work/list.json"
printf 'import sys\nprint(f"sbom_check: {sys.argv[1]}: purl on two components: x")\nraise KeyError("x")\n' \
  >"$work/crashing.py"
ich_check "sbom_check: another cause is not the expected refusal" eval \
  '! refused_for "$work/list.json" "purl on two components" >/dev/null &&
   ! refused_for "$work/missing.json" "purl on two components" >/dev/null &&
   ! refused_for "$bill" "purl on two components" >/dev/null &&
   ! sbom_check=$work/crashing.py refused_for "$bill" "purl on two components" >/dev/null'

ich_checks_done scripts
