#!/usr/bin/env bash
# Installs what is missing, builds the libFuzzer targets with clang, ASan and UBSan into
# build-fuzz/ (or $FUZZ_BUILD_DIR), and runs each for $FUZZ_SECONDS seconds (default 60) from a
# copy of its seed corpus in tests/fuzz/corpus/. Any finding fails the run; the input that
# found it is kept under <build>/fuzz-findings/<target>/. OSTREL_WERROR=ON (set by CI) makes
# every compiler warning an error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-60}
fuzz_dir=$root/tests/fuzz

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DOSTREL_SANITIZE=ON -DOSTREL_FUZZ=ON -DOSTREL_WERROR="${OSTREL_WERROR:-OFF}" >/dev/null
# Every corpus whose target the build defines (a target may wait for the code it fuzzes).
defined=$(cmake --build "$build" --target help | sed -n 's/^\(fuzz_[a-z_]*\):.*/\1/p')
targets=()
for corpus in $(find "$fuzz_dir/corpus" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | sort); do
    grep -qx "fuzz_$corpus" <<<"$defined" && targets+=("$corpus")
done
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=()
printf '\n%-16s %8s %14s %10s  %s\n' target seconds executions corpus result
for target in "${targets[@]}"; do
    cp -r "$fuzz_dir/corpus/$target" "$work/$target"
    findings=$build/fuzz-findings/$target
    mkdir -p "$findings"
    log=$build/fuzz-$target.log
    dict=()
    [ -f "$fuzz_dir/dict/$target.dict" ] && dict=(-dict="$fuzz_dir/dict/$target.dict")
    status=0
    "$build/bin/fuzz_$target" "$work/$target" "${dict[@]}" \
        -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$findings/" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    corpus=$(find "$work/$target" -type f | wc -l)
    result=ok
    # A target may report what it counted besides executions (the page target: refused edits).
    note=$(grep -m1 -E '^[a-z ]+: [0-9]+ of [0-9]+$' "$log" || true)
    [ -n "$note" ] && result="ok ($note)"
    if [ "$status" -ne 0 ]; then
        result="FINDING (exit $status), see $log and $findings"
        failed+=("$target")
    fi
    printf '%-16s %8s %14s %10s  %s\n' "$target" "$seconds" "${runs:-?}" "$corpus" "$result"
done
if ((${#failed[@]})); then
    echo "Findings in: ${failed[*]}. Keep each input from fuzz-findings/ in tests/fuzz/corpus/<target>/." >&2
    for target in "${failed[@]}"; do
        echo "--- $target" >&2
        grep -m1 -B2 -A30 -E 'ERROR|check failed|deadly signal|timeout' "$build/fuzz-$target.log" >&2 || tail -40 "$build/fuzz-$target.log" >&2
    done
    exit 1
fi
