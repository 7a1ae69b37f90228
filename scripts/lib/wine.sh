# Running the x86_64 Windows build under wine64, sourced by the scripts
# that do. start_wine installs wine64 if missing, makes the private prefix
# under build/ once, and starts wine's server with one program run before
# anything else: services that wine starts on first use would otherwise
# inherit the caller's output pipe and keep it open after the program
# ends. The server is stopped when the calling script exits.
#
#   run_windows PROGRAM ARGS...   runs a Windows program
#   prepare_comparison TARGETS... builds both sides, then starts wine
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

start_wine() {
  install_packages wine64
  export WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== wine prefix: $WINEPREFIX"
    "$wine" wineboot -i </dev/null >/dev/null 2>&1
  fi
  "$wineserver" -p </dev/null >/dev/null 2>&1 || true
  "$wine" cmd /c exit </dev/null >/dev/null 2>&1
  trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT
}

run_windows() {
  "$wine" "$@"
}

# The x86_64 Windows build, brought up to date (built whole the first time).
build_windows_x86_64() {
  if [ -f build/windows-x86_64/build.ninja ]; then
    cmake --build build/windows-x86_64
  else
    scripts/build-windows.sh x86_64
  fi
}

# For a comparison of the two platforms: the x86_64 Windows build, the
# Linux targets given (ci preset) and wine, all made ready.
prepare_comparison() {
  build_windows_x86_64
  scripts/install-deps.sh
  cmake --preset ci >/dev/null
  cmake --build --preset ci --target "$@"
  start_wine
}
