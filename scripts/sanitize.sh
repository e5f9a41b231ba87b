#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ (or $SANITIZE_BUILD_DIR), and runs every test there headless under ctest.
# Any sanitizer finding fails its test, and so the run. OSTREL_WERROR=ON (set by CI) makes
# every compiler warning an error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build=${SANITIZE_BUILD_DIR:-$root/build-asan}
# axe-core for the Form Check's audit, as scripts/build.sh fetches it.
"$root/third_party/axe-core/fetch.sh" "$build/axe-core"

# Debug compiles fastest, and the sanitizers need no optimiser to find what they look for.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DOSTREL_SANITIZE=ON \
    -DOSTREL_WERROR="${OSTREL_WERROR:-OFF}" >/dev/null
cmake --build "$build" -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
# A finding stops the program with a failing exit status.
# new_delete_type_mismatch is off: Qt WebEngine 6.4 (Debian 12) frees an object of its own
# with another type's size as a page is destroyed (~WebContentsAdapter; both the allocation
# and the free are in libQt6WebEngineCore, which is not instrumented, and ASan's suppressions
# do not reach it).
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1:check_initialization_order=1:new_delete_type_mismatch=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan-suppressions.txt:print_suppressions=0
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 900
