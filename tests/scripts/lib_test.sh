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
# A program's report mode writes a report; told to, one that differs.
case "${2:-}" in --selftest | --verify)
  printf '%s' "$2" >"$3"; [ "${STUB_FAIL:-}" = reports ] && printf ' differs' >>"$3"; exit 0 ;;
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
# its native twin and the linker's map of it, strip copies it; STUB_FAIL
# names the step that fails: strip, wixl, or the reports (the shipped
# program's differ from the native one's); the README or the notices fail
# when their source is missing, the notices also when the map links a member
# that no rule covers or a part whose marker text the program lacks.
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
printf 'MZ %s' "$marker" >"$2/bin/ichscore.exe"
printf '#!/bin/sh\nprintf %%s "$1" >"$2"\n' >"$2/bin/ichscore" && chmod +x "$2/bin/ichscore"
gcc=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
{ printf 'Archive member included to satisfy reference by file (symbol)\n\n'
  echo "$gcc/libssp.a(ssp.o)"
  echo "                              main.o (__stack_chk_fail)"
  [ "${STUB_FAIL:-}" = uncovered ] && echo "$gcc/../../../../x86_64-w64-mingw32/lib/libmingwex.a(lib64_libmingwex_a-getopt.o)"
  printf '\nLinker script and memory map\n\nLOAD %s\nLOAD libown.a\n' "$gcc/crtbegin.o"
} >"$2/bin/ichscore.map"
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
declare -A failing_line=([readme]="could not write README_zh.txt" [strip]="could not strip"
  [notices]="could not write the third-party notices" [wixl]="could not build ichscore-1.0-win64.msi"
  [uncovered]="could not write the third-party notices" [marker]="could not write the third-party notices"
  [reports]="the shipped ichscore.exe's reports differ")
declare -A failing_cause=([uncovered]="links libmingwex.a(lib64_libmingwex_a-getopt.o) from"
  [marker]="the map links libssp, but the program lacks its text 'stack smashing detected'")
for step in readme strip reports notices wixl uncovered marker; do
  copy="$work/package-$step"
  mkdir -p "$copy/app/resources" "$copy/dist" &&
    cp -r "$ICH_ROOT/scripts" "$ICH_ROOT/packaging" "$ICH_ROOT/CMakeLists.txt" "$copy/" &&
    cp "$ICH_ROOT/app/resources/ichscore.ico" "$copy/app/resources/" &&
    touch "$copy/dist/ichscore-1.0-win64.zip" "$copy/dist/ichscore-1.0-win64.msi"
  [ "$step" = readme ] && rm "$copy/packaging/README_zh.txt"
  [ "$step" = notices ] && rm "$copy/packaging/third_party.py"
  out=$(STUB_FAIL=$step SOURCE_DATE_EPOCH=1 "$copy/scripts/package" 2>&1)
  rc=$?
  ich_check "package, $step failing: exits non-zero" [ "$rc" -ne 0 ]
  ich_check "package, $step failing: one line says why" [ "$(grep -c '^package: ' <<<"$out")" -eq 1 ]
  ich_check "package, $step failing: it names that step" grep -q "^package: ${failing_line[$step]}" <<<"$out"
  [ -n "${failing_cause[$step]:-}" ] &&
    ich_check "package, $step failing: it says why" grep -qF "${failing_cause[$step]}" <<<"$out"
  ich_check "package, $step failing: no zip or MSI in dist/" \
    eval '[ -z "$(find "$copy/dist" -name "*.zip" -o -name "*.msi")" ]'
done

# The bill's check: the bill the stand-in release staged passes it; each fault
# a scanner would trip on fails it.
bill="$work/package-wixl/build/windows-release/package/ichscore-1.0-win64/ichscore.cdx.json"
ich_check "sbom_check: the staged bill passes" /usr/bin/python3 "$ICH_ROOT/packaging/sbom_check.py" "$bill"
declare -A broken=(
  [a purl on two components]='c = b["components"][0]; b["components"].append({"type": c["type"], "name": "other", "purl": c["purl"]})'
  [a property the schema lacks]='b["components"][0]["colour"] = "teal"'
  [a Debian purl without its distro]='c = b["components"][0]; c["purl"] = c["purl"].replace("&distro=debian-12", "")')
for fault in "${!broken[@]}"; do
  /usr/bin/python3 -c "import json, sys; b = json.load(open(sys.argv[1])); ${broken[$fault]}
json.dump(b, open(sys.argv[2], 'w'))" "$bill" "$work/broken.json"
  ich_check "sbom_check: a bill with $fault fails" \
    eval '! /usr/bin/python3 "$ICH_ROOT/packaging/sbom_check.py" "$work/broken.json" >/dev/null'
done

ich_checks_done scripts
