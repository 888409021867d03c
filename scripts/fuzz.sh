#!/usr/bin/env bash
# Builds the libFuzzer programs with clang (build-fuzz/) and runs each for a bounded time, starting
# from its seeds in tests/fuzz/seeds/<target>/. The corpus each run grows stays in build-fuzz/.
# A crash, a broken property or a hang fails the script and names the input that caused it: mend
# the fault and keep that input in tests/fuzz/regressions/<target>/, which the regular tests replay.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${ZESTRO_FUZZ_SECONDS:-20}
targets=(jet_sql criteria fraction amount bar_list library_json settings_ini)

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZESTRO_FUZZ=ON -DZESTRO_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz --target fuzz_targets

failed=()
for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$target crashes=build-fuzz/crashes/$target
  mkdir -p "$corpus" "$crashes"
  echo "== fuzz $target (${seconds}s)"
  if ! build-fuzz/bin/fuzz_$target "$corpus" "tests/fuzz/seeds/$target" -max_total_time="$seconds" -timeout=25 \
      -max_len=8192 -artifact_prefix="$crashes/" -print_final_stats=1 >"build-fuzz/fuzz_$target.log" 2>&1; then
    tail -n 60 "build-fuzz/fuzz_$target.log"
    echo "fuzz $target failed; reproduce with: build-fuzz/bin/fuzz_$target $(ls -t "$crashes"/* 2>/dev/null | head -n 1)"
    failed+=("$target")
  else
    grep -E '^stat::number_of_executed_units|^Done' "build-fuzz/fuzz_$target.log" | tr '\n' ' '; echo
  fi
done
if ((${#failed[@]})); then
  echo "Fuzzing failed for: ${failed[*]}"
  exit 1
fi
