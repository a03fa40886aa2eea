# Shared by the project's scripts: installs what is missing and prepares Wine.
# Sourced, not run.

ICH_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian packages the build and the tests need.
ICH_PACKAGES=(cmake make g++ googletest libbenchmark-dev
  g++-mingw-w64-x86-64 wine64 xvfb xdotool imagemagick fonts-wqy-microhei xclip
  clang-14 libclang-rt-14-dev python3 libmuparser-dev libfparser-dev zip)

ich_install_missing() {
  local missing=()
  for p in "${ICH_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq || return 1
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
}

# Environment for running the Windows programs under Wine with a prefix
# inside the given build tree.
ich_wine_env() {
  export WINEPREFIX="$1/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES='mscoree,mshtml='
}

# Creates the Wine prefix once and maps the fonts the window asks for onto
# the Chinese font that Debian ships.
ich_wine_prefix() {
  ich_wine_env "$1"
  if [ ! -f "$WINEPREFIX/.ich-ready" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Microsoft YaHei UI' /t REG_SZ /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Consolas' /t REG_SZ /d 'WenQuanYi Micro Hei Mono' /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.ich-ready"
  fi
}

# Starts a virtual X display on a free number and exports DISPLAY; sets
# ICH_XVFB_PID so the caller can stop it.
ich_start_xvfb() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  ICH_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2
  return 1
}

ich_configure_build() {  # preset
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1"
}
