# Shared by the project's scripts: installs what is missing and prepares Wine.
# Sourced, not run.

ICH_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian packages the build and the tests need. wine64 alone puts no `wine`
# command on the PATH; the wine package does. The release's MSI is written
# by wixl and finished through the installer-database library's Python
# bindings (python3-gi, gir1.2-libmsi-1.0), with the program's version read
# by python3-pefile; osslsigncode signs, and openssl makes the signing
# check's throwaway certificate. The install check reads the MSI's tables
# with msitools and the shortcut with liblnk-utils. The notices read Debian's
# copyright files with python3-debian; the bill of materials is validated
# with python3-jsonschema. scripts/make_icon.py draws the icon with
# python3-pil. clang-format-14 and clang-tidy-14 keep the style and the lint.
# scripts/bench counts instructions with valgrind's callgrind.
ICH_PACKAGES=(cmake make g++ googletest libbenchmark-dev
  g++-mingw-w64-x86-64 wine wine64 xvfb xdotool imagemagick fonts-wqy-microhei xclip
  clang-14 libclang-rt-14-dev python3 libmuparser-dev libfparser-dev zip unzip git
  wixl python3-gi gir1.2-libmsi-1.0 python3-pefile osslsigncode openssl msitools liblnk-utils
  python3-debian python3-jsonschema python3-pil clang-format-14 clang-tidy-14 valgrind)

# The commands the scripts run, each with the package that provides it.
declare -A ICH_COMMAND_PACKAGE=(
  [cmake]=cmake [g++]=g++ [python3]=python3 [/usr/bin/python3]=python3 [zip]=zip [unzip]=unzip [git]=git
  [wixl]=wixl [osslsigncode]=osslsigncode [openssl]=openssl [msiinfo]=msitools
  [lnkinfo]=liblnk-utils [dpkg-query]=dpkg
  [x86_64-w64-mingw32-g++-posix]=g++-mingw-w64-x86-64
  [x86_64-w64-mingw32-objdump]=binutils-mingw-w64-x86-64
  [wine]=wine [wineboot]=wine [wineserver]=wine
  [Xvfb]=xvfb [xdotool]=xdotool [import]=imagemagick [clang-14]=clang-14
  [clang-format-14]=clang-format-14 [clang-tidy-14]=clang-tidy-14 [valgrind]=valgrind
  [gcovr]=gcovr [gcov]=gcc [x86_64-w64-mingw32-gcov-posix]=gcc-mingw-w64-x86-64-posix)

# Installs, with apt, the packages of ICH_PACKAGES and any named here (a
# script's own extras, such as scripts/coverage's gcovr) that are missing.
ich_install_missing() {  # [extra package...]
  local missing=()
  for p in "${ICH_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq || return 1
  # Another installer holding the package lock (an unattended upgrade, a
  # second script) is waited for rather than failing the run at once.
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq -o DPkg::Lock::Timeout=300 \
    --no-install-recommends "${missing[@]}" >/dev/null || return 1
}

# Checks that every named command is on the PATH. Prints one line naming all
# that are missing, with their packages, and fails; a package that installed
# without its command would otherwise show up later as a failed test.
ich_require_commands() {  # command...
  local missing=()
  for c in "$@"; do
    command -v "$c" >/dev/null 2>&1 || missing+=("$c (package ${ICH_COMMAND_PACKAGE[$c]:-?})")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local line
  printf -v line '%s, ' "${missing[@]}"
  echo "missing commands: ${line%, }"
  return 1
}

# Environment for running the Windows programs under Wine with a prefix
# inside the given build tree.
ich_wine_env() {
  export WINEPREFIX="$1/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES='mscoree,mshtml='
}

# The fonts of the prefix, as registry values "KEY|NAME|TYPE|DATA". The
# window asks for faces that Debian ships under other names; message boxes
# use Wine's Tahoma, which has no Chinese glyphs, so it falls back on the
# Chinese font the way Windows links its system fonts.
ICH_FONT_SETTINGS=(
  'HKCU\Software\Wine\Fonts\Replacements|Microsoft YaHei UI|REG_SZ|WenQuanYi Micro Hei'
  'HKCU\Software\Wine\Fonts\Replacements|Consolas|REG_SZ|WenQuanYi Micro Hei Mono'
  'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink|Tahoma|REG_MULTI_SZ|wqy-microhei.ttc,WenQuanYi Micro Hei'
)

# True when the prefix's registry holds every font setting.
ich_wine_fonts_mapped() {
  local setting key name type data
  for setting in "${ICH_FONT_SETTINGS[@]}"; do
    IFS='|' read -r key name type data <<<"$setting"
    wine reg query "$key" /v "$name" 2>/dev/null </dev/null | tr -d '\r' |
      grep -qF "$name    $type    $data" || return 1
  done
}

# Every step of a new prefix's set-up, stopping at the first that fails.
ich_wine_prefix_setup() {
  local setting key name type data
  mkdir -p "$WINEPREFIX" || return 1
  wineboot -i >/dev/null 2>&1 </dev/null || { echo "wine prefix: wineboot failed"; return 1; }
  for setting in "${ICH_FONT_SETTINGS[@]}"; do
    IFS='|' read -r key name type data <<<"$setting"
    wine reg add "$key" /v "$name" /t "$type" /d "$data" /f >/dev/null 2>&1 </dev/null ||
      { echo "wine prefix: cannot add the font setting for $name"; return 1; }
  done
  # The registry reaches its files only when the server ends.
  wineserver -w || { echo "wine prefix: wineserver -w failed"; return 1; }
  ich_wine_fonts_mapped || { echo "wine prefix: the font settings did not take"; return 1; }
  wineserver -w
}

# Creates the Wine prefix inside the given build tree and maps the fonts the
# window asks for. The prefix is marked ready only when every step succeeded;
# a prefix that is not marked, or whose font settings are gone, is built
# anew. Fails, with a line saying why, when it cannot be made ready.
ich_wine_prefix() {  # build tree
  ich_wine_env "$1"
  if [ -f "$WINEPREFIX/.ich-ready" ]; then
    # The query leaves a server running; the caller's processes should start
    # one of their own, on the display they are given.
    ich_wine_fonts_mapped && { wineserver -w; return 0; }
    echo "wine prefix: font settings missing in $WINEPREFIX, building it anew"
  fi
  wineserver -k >/dev/null 2>&1
  rm -rf "$WINEPREFIX"
  ich_wine_prefix_setup || { wineserver -k >/dev/null 2>&1; return 1; }
  touch "$WINEPREFIX/.ich-ready"
}

# Starts a virtual X display and exports DISPLAY; sets ICH_XVFB_PID so the
# caller can stop it. Xvfb picks a free number itself (-displayfd), skipping
# every number whose socket, lock file or abstract socket (an X server in
# another mount namespace holds only that) is taken, and writes the number
# it took once it accepts connections.
ich_start_xvfb() {
  local number_file n=""
  number_file=$(mktemp) || return 1
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  ICH_XVFB_PID=$!
  # The number is whole once its line has ended.
  for _ in $(seq 100); do
    IFS= read -r n <"$number_file" && break
    n=""
    kill -0 "$ICH_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$number_file"
  if [ -z "$n" ]; then
    kill "$ICH_XVFB_PID" 2>/dev/null
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$n"
}

# Opens a session for running the Windows suites of a build tree: its Wine
# prefix, a virtual display, then Wine's server and background services. The
# display comes first: Wine's desktop process binds to the display it starts
# with, and the window tests need one. The services start now with their
# output on /dev/null: one started by the first test would inherit the test
# runner's output pipe and keep it waiting after the tests end.
ich_wine_session_start() {  # build tree
  ich_wine_prefix "$1" && ich_start_xvfb || return 1
  wineserver -p >/dev/null 2>&1
  wine cmd /c exit >/dev/null 2>&1 </dev/null
}

# Ends what ich_wine_session_start (or ich_start_xvfb) began.
ich_wine_session_stop() {
  wineserver -k >/dev/null 2>&1
  kill "$ICH_XVFB_PID" 2>/dev/null
}

# The check harness of the scripts' own checks and of the release's:
# ich_check counts a command that succeeds as passed, and names one that
# fails; ich_checks_done prints "SUITE: N passed, N failed", the line
# scripts/test counts, and fails when any check failed.
ICH_PASSED=0
ICH_FAILED=0
ich_check() {  # description, then the command that must succeed
  local what=$1; shift
  if "$@"; then ICH_PASSED=$((ICH_PASSED + 1)); else ICH_FAILED=$((ICH_FAILED + 1)); echo "FAILED: $what"; fi
}
ich_checks_done() {  # suite
  echo "$1: $ICH_PASSED passed, $ICH_FAILED failed"
  [ "$ICH_FAILED" -eq 0 ]
}

ich_configure_build() {  # preset
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1"
}

# The style check: every tracked C++ file must read as clang-format-14 would
# write it (.clang-format). Prints each misformatted file's first findings and
# "format: N passed, N failed" over the files; fails when any differs.
ich_format_check() {
  local f out ok=0 bad=0
  while IFS= read -r f; do
    if out=$(clang-format-14 --dry-run -Werror "$ICH_ROOT/$f" 2>&1); then
      ok=$((ok + 1))
    else
      bad=$((bad + 1))
      head -n 12 <<<"$out"
    fi
  done < <(git -C "$ICH_ROOT" ls-files -- '*.cpp' '*.h' '*.cc' '*.hpp')
  # No file checked is a failure too: git could not list the tree.
  [ $((ok + bad)) -gt 0 ] || bad=1
  echo "format: $ok passed, $bad failed"
  [ "$bad" -eq 0 ]
}

# The project's own translation units in a build tree's compile commands:
# the program and its core, not the tests (their GoogleTest expansions make
# each file several times slower to analyse, for findings about test
# helpers) and not GoogleTest, whose sources lie outside the tree.
ich_tidy_files() {  # build tree
  python3 - "$1/compile_commands.json" "$ICH_ROOT" <<'PY'
import json, sys
root = sys.argv[2] + "/"
files = {e["file"] for e in json.load(open(sys.argv[1]))}
for f in sorted(files):
    rel = f[len(root):] if f.startswith(root) else None
    if rel and not rel.startswith(("tests/", "build/")):
        print(f)
PY
}

# What clang-tidy needs to read the Windows build's sources: the MinGW
# target and the cross compiler's C++ and Windows headers. GCC's own
# intrinsic headers stay out; clang's builtins differ and it has its own.
ich_tidy_windows_args() {
  local d
  echo "--extra-arg=--target=x86_64-w64-mingw32"
  x86_64-w64-mingw32-g++-posix -E -x c++ - -v </dev/null 2>&1 |
    sed -n '/#include <...> search starts here/,/End of search list/{/^ /s/^ //p}' |
    while IFS= read -r d; do
      case "$d" in */include | */include-fixed) [[ "$d" == */x86_64-w64-mingw32/include ]] || continue ;; esac
      printf '%s\n' "--extra-arg=-isystem" "--extra-arg=$d"
    done
}

# Runs clang-tidy-14 (.clang-tidy) over the project's own files of a
# configured build tree, two at a time. A file passes when clang-tidy
# reports nothing and could read it. Prints the findings and
# "tidy NAME: N passed, N failed" over the files; fails on any finding.
# Debian's run-clang-tidy-14 runs the same clang-tidy commands, two at a time
# with -j 2, in about the same time (62 to 142 s against 65 to 91 s over the
# native tree's 33 files on a shared machine), but it exits 0 on findings
# (clang-tidy does, with WarningsAsErrors empty) and counts no files.
ich_tidy() {  # name, build tree, extra clang-tidy argument...
  local name=$1 tree=$2 logs f log ok=0 bad=0
  shift 2
  logs=$(mktemp -d) || return 1
  : >"$logs/args"
  [ $# -eq 0 ] || printf '%s\n' "$@" >"$logs/args"
  if ! ich_tidy_files "$tree" >"$logs/files" || [ ! -s "$logs/files" ]; then
    echo "tidy $name: no project file in the compile commands of $tree"
    rm -rf "$logs"
    return 1
  fi
  # Each file's findings go to a log of its own; a file clang-tidy could not
  # read leaves its exit code there.
  xargs -d '\n' -P 2 -n 1 bash -c '
    mapfile -t extra <"$1/args"
    log="$1/$(echo "$2" | tr / _).log"
    clang-tidy-14 -p "$0" --quiet "${extra[@]}" "$2" >"$log" 2>"$log.err" || echo "clang-tidy exit $?" >>"$log"
  ' "$tree" "$logs" <"$logs/files"
  while IFS= read -r f; do
    log="$logs/$(echo "$f" | tr / _).log"
    if [ -f "$log" ] && [ ! -s "$log" ]; then
      ok=$((ok + 1))
    else
      bad=$((bad + 1))
      echo "tidy $name: ${f#"$ICH_ROOT"/}"
      cat "$log" 2>/dev/null
    fi
  done <"$logs/files"
  rm -rf "$logs"
  echo "tidy $name: $ok passed, $bad failed"
  [ "$bad" -eq 0 ]
}
