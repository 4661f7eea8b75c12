#!/usr/bin/env bash
# Fuzzes every target of a fuzz build (the fuzz preset) for SECONDS each, starting from the seed
# corpus. A crash, a leak, a timeout, running out of memory or any sanitizer report fails the run;
# libFuzzer then leaves the input that did it in ARTIFACTS.
# Usage: run.sh BUILD-FOLDER SECONDS
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build=$1
seconds=$2
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
for target in descriptor wraptext keyvalue picture svg; do
    work=$(mktemp -d)
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$artifacts/$target-")
    # wrapText's 16-bit counter overflows only at 32,767 characters: inputs must be able to reach it.
    [ "$target" = wraptext ] && options+=(-max_len=70000)
    echo "== fuzzing $target for $seconds s"
    status=0
    LSAN_OPTIONS="suppressions=$here/../lsan/fontconfig.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}" \
        "$build/fuzz/fuzz_$target" "${options[@]}" "$work" "$here/corpus/$target" >"$work.log" 2>&1 || status=$?
    grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$work.log" || true
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$work.log"
        echo "fuzzing $target failed; the input is in $artifacts" >&2
        rm -rf "$work" "$work.log"
        exit 1
    fi
    rm -rf "$work" "$work.log"
done
