#!/usr/bin/env bash
# Builds everything and runs every test: the platform-free rules natively under ASan and UBSan and
# fuzzed with libFuzzer for a bounded time, the Windows program and its tests (x86_64) under Wine on a
# virtual X server, and the 32-bit build compiled and linked warning-free. Both Windows builds make the
# packages (ZIP and setup program); the 32-bit ones are read back, the 64-bit setup program is also
# installed and uninstalled under Wine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/tools/install-deps.sh"
jobs="$(nproc)"
build="$root/build"

cmake -S "$root" -B "$build/native" -DBRISOLT_WERROR=ON >/dev/null
cmake --build "$build/native" -j"$jobs"
cmake -S "$root" -B "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DBRISOLT_WERROR=ON >/dev/null
cmake --build "$build/win64" -j"$jobs"
cmake -S "$root" -B "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DBRISOLT_WERROR=ON >/dev/null
cmake --build "$build/win32" -j"$jobs"

status=0
(cd "$build/native" && ctest --output-on-failure) || status=1
bash "$root/tools/fuzz.sh" || status=1
# 32-bit programs cannot run here: of that build only the packages are checked.
(cd "$build/win32" && ctest -L packaging --output-on-failure) || status=1
# The Windows tests get an X server of their own, whether or not a display is open. Two run at a time on
# that one screen and under one Wine server, so a test program that fails is run once more; both runs'
# output is printed, and only a program that fails twice fails the build. The programs that needed their
# second run are named at the end, so that a fault that shows one time in two stays in sight.
wine_log="$build/win64/ctest-output.txt"
(cd "$build/win64" && xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure -j2 --repeat until-pass:2) \
  2>&1 | tee "$wine_log" || status=1
rerun="$(awk '/Test +#[0-9]+: / { name = $0; sub(/.*Test +#[0-9]+: /, "", name); sub(/ .*/, "", name);
                if ($0 ~ /\*\*\*/) failed[name] = 1; else if ($0 ~ / Passed /) passed[name] = 1 }
              END { for (n in failed) if (n in passed) printf "%s ", n }' "$wine_log")"
if [ -n "$rerun" ]; then
  echo "Windows test programs that passed only when run again: $rerun"
else
  echo "No Windows test program needed its second run."
fi
exit "$status"
