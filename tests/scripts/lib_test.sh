#!/usr/bin/env bash
# Checks of scripts/lib.sh that need no Wine: the missing-command line, and
# the Wine prefix's set-up against stand-in wine, wineboot and wineserver
# commands that can be told to fail at one step. Closes with
# "scripts: N passed, N failed".
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
check() {  # description, then the command that must succeed
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what"; fi
}

# Stand-ins. The registry is a file of NAME=DATA lines in the prefix; STUB_FAIL
# names the step that fails: wineboot, reg-add, reg-query or wineserver.
stubs="$work/bin"
mkdir -p "$stubs"
cat >"$stubs/wine" <<'STUB'
#!/usr/bin/env bash
reg="$WINEPREFIX/stub.reg"
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
  check "$step failing: the set-up fails" [ "$rc" -ne 0 ]
  check "$step failing: the prefix is not marked ready" eval '! ready'
  check "$step failing: one line says why" [ "$(grep -c 'wine prefix:' <<<"$out")" -eq 1 ]
done

# A font setting that the registry did not keep fails the set-up.
prefix_case dropped
STUB_DROP=Tahoma ich_wine_prefix "$tree" >/dev/null
check "a font setting not kept: the prefix is not marked ready" eval '! ready'

# A good set-up is marked ready and is reused as it is.
prefix_case good
check "a good set-up succeeds" ich_wine_prefix "$tree"
check "a good set-up is marked ready" ready
touch "$tree/wineprefix/kept"
check "a ready prefix is reused" ich_wine_prefix "$tree"
check "a ready prefix is not booted again" boots 1
check "a ready prefix keeps its files" [ -f "$tree/wineprefix/kept" ]

# A prefix marked ready whose fonts are gone is built anew.
sed -i '/^Microsoft YaHei UI=/d' "$tree/wineprefix/stub.reg"
check "a prefix without its fonts is rebuilt" ich_wine_prefix "$tree" >/dev/null
check "the rebuilt prefix is booted anew" boots 2
check "the rebuilt prefix starts empty" [ ! -f "$tree/wineprefix/kept" ]
check "the rebuilt prefix is marked ready" ready
check "the rebuilt prefix maps the fonts" ich_wine_fonts_mapped

# A missing command is named in one line with its package.
out=$(PATH="$work/empty" ich_require_commands wine)
rc=$?
check "a missing command fails the check" [ "$rc" -ne 0 ]
check "the missing command is named in one line" [ "$out" = "missing commands: wine (package wine)" ]
check "commands that are there pass the check" ich_require_commands wineboot bash

echo "scripts: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
