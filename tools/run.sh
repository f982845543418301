#!/usr/bin/env bash
# Builds Brisolt for 64-bit Windows and starts the bar under Wine with the TeX bar of demo/ and its sample.
# Without a display it runs on a virtual X server and writes a screenshot to build/screenshot.png.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/install-deps.sh"
build="$root/build/win64"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)" --target Brisolt corvane
"$build/wine-run.sh" --init
demo="$build/demo"
mkdir -p "$demo"
cp "$root/demo/Brisolt.ini" "$root/demo/sample.tex" "$demo/"
ini="Z:${demo//\//\\}\\Brisolt.ini"
tex="Z:${demo//\//\\}\\sample.tex"
if [ -n "${DISPLAY:-}" ]; then
  exec "$build/wine-run.sh" "$build/bin/Brisolt.exe" /i "$ini" "$tex"
fi
shot="$root/build/screenshot.png"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1/wine-run.sh" explorer /desktop=Brisolt,1024x768 "$1/bin/Brisolt.exe" /i "$2" "$3" &
  sleep 8
  import -window root "$4"
  WINEPREFIX="$1/wineprefix" wineserver -k
' _ "$build" "$ini" "$tex" "$shot"
echo "Screenshot: $shot"
