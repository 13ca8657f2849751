#!/usr/bin/env bash
# Fuzzes the settings-file loader with libFuzzer under ASan and UBSan for a
# bounded time (60 s, 30 s when CI=true). Fails on any crash, hang or sanitizer
# report; prints how many inputs ran. The seeds in tests/settings_file/fuzz/corpus
# stay as they are; what the fuzzer finds goes to build/fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/../.."

out=build/fuzz
fuzzer=$out/settings_load_fuzz
seconds=60
[ "${CI:-}" = true ] && seconds=30
mkdir -p "$out/corpus"

sources=(tests/settings_file/fuzz/LoadFuzz.cpp common/*.cpp window/*.cpp)
for f in settings_file/*.cpp; do
  [ "$f" = settings_file/FileStoreWin32.cpp ] || sources+=("$f")
done

stale=0
[ -x "$fuzzer" ] || stale=1
if ((!stale)) && [ -n "$(find common settings_file tests/settings_file/fuzz -newer "$fuzzer" -type f -print -quit)" ]; then
  stale=1
fi
if ((stale)); then
  echo "building $fuzzer"
  clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -Wall -Wextra -Wpedantic -Werror -Icommon -Iwindow -Isettings_file \
    "${sources[@]}" -o "$fuzzer"
fi

log=$out/fuzz.log
set +e
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
  -dict=tests/settings_file/fuzz/settings.dict -artifact_prefix="$out/" -print_final_stats=1 \
  "$out/corpus" tests/settings_file/fuzz/corpus >"$log" 2>&1
rc=$?
set -e

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)
if ((rc != 0)); then
  tail -n 60 "$log"
  echo "settings-file fuzzing FAILED (exit $rc) after ${runs:-?} inputs; the input is in $out/ (crash-*, timeout-*, oom-*)"
  exit 1
fi
echo "settings-file fuzzing: ${runs:-?} inputs in ${took:-$seconds} s, no fault; corpus $(ls "$out/corpus" | wc -l) files"
