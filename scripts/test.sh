#!/usr/bin/env bash
# The one test command: builds Zirka every way it ships and runs every test.
#
#   bash scripts/test.sh                 # everything, as CI runs it
#   bash scripts/test.sh native asan     # only the stages named (windows, asan,
#                                        # fuzz, native, package), after the
#                                        # check for missing Debian packages
#
# On a fresh Debian machine run as root, it installs what is missing first; run as
# another user, it says what to install. Stages, each failing the whole command:
#   1. Windows cross build (MinGW-w64): zirka.exe
#   2. AddressSanitizer + UndefinedBehaviorSanitizer build: unit and end-to-end tests
#   3. fuzz targets (clang, libFuzzer): replay of the seeds and saved crashes
#   4. native build with warnings as errors: unit and end-to-end tests, and the
#      end-to-end cases again against zirka.exe under Wine
#   5. packages: the Debian package of a native release build and the ZIP of the
#      Windows build, their contents, and a run of the program from each
#      (scripts/check_packages.sh)
# Builds live in build-test/ (ZIRKA_TEST_BUILD_DIR to put them elsewhere).
set -euo pipefail

ZIRKA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_ROOT=${ZIRKA_TEST_BUILD_DIR:-$ZIRKA_ROOT/build-test}
WINE=/usr/lib/wine/wine64
# shellcheck source=scripts/common.sh
source "$ZIRKA_ROOT/scripts/common.sh"

CTEST_ARGS=(--output-on-failure -j2 --timeout 600)

stage() { echo; echo "==== $*"; }

# 1. zirka.exe for Windows, statically linked, warning-free.
windows_build() {
  stage "Windows cross build (MinGW-w64)"
  configure_and_build "$BUILD_ROOT/mingw" \
    -DCMAKE_TOOLCHAIN_FILE="$ZIRKA_ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DZIRKA_WERROR=ON -DZIRKA_BUILD_TESTS=OFF
}

# 2. Every unit and end-to-end test on a build with ASan and UBSan.
sanitizer_tests() {
  stage "AddressSanitizer + UndefinedBehaviorSanitizer build and tests"
  configure_and_build "$BUILD_ROOT/asan" \
    -DCMAKE_BUILD_TYPE=Debug -DZIRKA_WERROR=ON -DZIRKA_SANITIZE=ON
  ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:detect_leaks=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir "$BUILD_ROOT/asan" "${CTEST_ARGS[@]}"
}

# 3. Hook for the fuzz targets: builds them with clang and lets CTest replay the
#    committed seeds and regressions (plus whatever bounded run fuzz/ registers).
fuzz_stage() {
  [[ -f $ZIRKA_ROOT/fuzz/CMakeLists.txt ]] || return 0
  stage "Fuzz targets (clang, libFuzzer)"
  CC=clang CXX=clang++ configure_and_build "$BUILD_ROOT/fuzz" \
    -DCMAKE_BUILD_TYPE=Debug -DZIRKA_FUZZ=ON -DZIRKA_SANITIZE=ON -DZIRKA_BUILD_TESTS=OFF
  ASAN_OPTIONS=halt_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir "$BUILD_ROOT/fuzz" "${CTEST_ARGS[@]}"
}

# 3b. run_fuzz (owned by fuzz/): a bounded fuzzing run of every target from its seeds,
#     about a minute in all, with the executions per target. Needs the build of step 3.
run_fuzz() {
  [[ -x $ZIRKA_ROOT/fuzz/run_fuzz.sh && -d $BUILD_ROOT/fuzz ]] || return 0
  stage "Bounded fuzzing run (${ZIRKA_FUZZ_SECONDS:-12} s per target)"
  "$ZIRKA_ROOT/fuzz/run_fuzz.sh" all "$BUILD_ROOT/fuzz" "${ZIRKA_FUZZ_SECONDS:-12}"
}

# 4. The native build, and the end-to-end cases against zirka.exe under Wine.
native_tests() {
  stage "Native build and tests, end-to-end cases also under Wine"
  configure_and_build "$BUILD_ROOT/native" \
    -DCMAKE_BUILD_TYPE=Debug -DZIRKA_WERROR=ON \
    -DZIRKA_E2E_WINDOWS_PROGRAM="$BUILD_ROOT/mingw/src/zirka.exe" -DZIRKA_WINE="$WINE"
  (unset DISPLAY; ctest --test-dir "$BUILD_ROOT/native" "${CTEST_ARGS[@]}")
}

# 5. The .deb (from a native release build) and the Windows ZIP (from the build of
#    stage 1, brought up to date), checked and run on the example node.
package_check() {
  stage "Packages: Debian package and Windows ZIP"
  configure_and_build "$BUILD_ROOT/release" \
    -DCMAKE_BUILD_TYPE=Release -DZIRKA_WERROR=ON -DZIRKA_BUILD_TESTS=OFF
  windows_build  # up to date after stage 1: nothing to do
  bash "$ZIRKA_ROOT/scripts/check_packages.sh" "$BUILD_ROOT/release" "$BUILD_ROOT/mingw" "$WINE"
}

main() {
  ensure_packages "${ZIRKA_PACKAGES[@]}"
  local stages=("$@")
  ((${#stages[@]})) || stages=(windows asan fuzz native package)
  local name
  for name in "${stages[@]}"; do
    case $name in
      windows) windows_build ;;
      asan) sanitizer_tests ;;
      fuzz)
        fuzz_stage
        run_fuzz
        ;;
      native) native_tests ;;
      package) package_check ;;
      *) echo "unknown stage: $name (windows, asan, fuzz, native, package)" >&2; exit 2 ;;
    esac
  done
}

main "$@"
