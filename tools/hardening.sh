#!/usr/bin/env bash
# The logic library and the application's suites under the address and undefined-behaviour sanitizers, the
# library's tests under the thread sanitizer, then each fuzz target for a short while. Run by tools/test.sh after
# the ordinary tests; fails when any step fails, and ends with one line "hardening: N passed, N failed" counting
# the sanitized tests, the sanitized suites and the fuzz targets.
#
#   bash tools/hardening.sh            # about a minute per fuzz target
#   ORZA_FUZZ_SECONDS=600 bash tools/hardening.sh
set -uo pipefail
cd "$(dirname "$0")/.."

fuzz_seconds=${ORZA_FUZZ_SECONDS:-60}
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-second_deadlock_stack=1}

passed=0
failed=0
pass() { passed=$((passed + ${1:-1})); }
fail() {
  echo "hardening: FAILED: $2" >&2
  failed=$((failed + ${1:-1}))
}
finish() {
  echo "hardening: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

bash tools/install-deps.sh || { fail 1 "installing the packages"; finish; }

# --- The library's tests, sanitized (the Qt suites stay in the ordinary run) ---------------------------------------
# Built in `dir` with `flags` and run once; each test passed counts, and a sanitizer's report fails the step.
sanitized_library_tests() { # what, dir, flags
  local what=$1 dir=$2 flags=$3 started=$SECONDS
  if cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
       -DORZA_BUILD_APP=OFF -DORZA_BUILD_TESTS=ON -DORZA_BUILD_FUZZ=OFF "-DCMAKE_CXX_FLAGS=$flags" >/dev/null &&
     cmake --build "$dir" --parallel --target glazecore_tests; then
    local log=$dir/glazecore_tests.log
    "$dir/tests/glazecore_tests" --gtest_brief=1 >"$log" 2>&1
    local status=$?
    grep -v '^\[       OK \]' "$log" | tail -n 40
    local ok bad
    ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
    bad=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$log" | tail -n 1)
    pass "${ok:-0}"
    if [ "$status" -ne 0 ]; then
      # A sanitizer stops the whole program, or reports and fails it at the end: the test that tripped it has no
      # count of its own.
      fail "${bad:-1}" "$what library tests (exit $status, see $log)"
    fi
  else
    fail 1 "building the $what library tests"
  fi
  echo "hardening: $what tests took $((SECONDS - started)) s"
}

sanitized_library_tests sanitized build-asan "$sanitize"
# The reading threads share lists, counts and errors with the thread that reads a book: a lock left out passes every
# test and shows only here.
sanitized_library_tests thread-sanitized build-tsan "-fsanitize=thread -fno-omit-frame-pointer"

# --- The application's suites, sanitized ----------------------------------------------------------------------------
# Dialogs deleted on close, models and views and undo commands: where object lifetimes go wrong, these find it.
started=$SECONDS
if cmake -S . -B build-asan-app -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
     -DORZA_BUILD_APP=ON -DORZA_BUILD_TESTS=ON -DORZA_BUILD_FUZZ=OFF "-DCMAKE_CXX_FLAGS=$sanitize" >/dev/null &&
   cmake --build build-asan-app --parallel; then
  export LSAN_OPTIONS="suppressions=$PWD/tools/sanitizers.supp:print_suppressions=0"
  suites=$(find build-asan-app/tests/Orza -maxdepth 2 -type f -executable -name '*Test' | sort)
  for suite in $suites; do
    log="$suite.log"
    if QT_QPA_PLATFORM=offscreen timeout 600 "$suite" >"$log" 2>&1; then
      pass 1
    else
      grep -E 'ERROR: |SUMMARY: |runtime error|FAIL!' "$log" | head -n 20
      fail 1 "sanitized $(basename "$suite") (see $log)"
    fi
  done
else
  fail 1 "building the sanitized application suites"
fi
echo "hardening: sanitized application suites took $((SECONDS - started)) s"

# --- Fuzz targets ---------------------------------------------------------------------------------------------------
started=$SECONDS
if cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
     -DORZA_BUILD_APP=OFF -DORZA_BUILD_TESTS=OFF -DORZA_BUILD_FUZZ=ON >/dev/null &&
   cmake --build build-fuzz --parallel --target fuzz_glaze_book fuzz_book_readers fuzz_typed_text \
     fuzz_book_seeds; then
  mkdir -p build-fuzz/corpus/glaze_book build-fuzz/corpus/typed_text build-fuzz/artifacts
  if ! build-fuzz/fuzz/fuzz_book_seeds build-fuzz/corpus/glaze_book; then
    fail 1 "writing the seed books"
  fi
  # All at once: each runs in one process. New inputs go to build-fuzz/corpus, faults to build-fuzz/artifacts.
  run_fuzzer() { # name, corpus, max_len, extra options...
    local name=$1 corpus=$2 max_len=$3
    shift 3
    "build-fuzz/fuzz/fuzz_$name" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len="$max_len" -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$name-" "$@" \
      "build-fuzz/corpus/$corpus" "fuzz/corpus/$corpus" >"build-fuzz/fuzz_$name.log" 2>&1
  }
  run_fuzzer glaze_book glaze_book 16384 -dict=fuzz/glaze_book.dict &
  book_pid=$!
  # The two ways a book is read, held to one answer; it grows the book corpus alongside the first.
  run_fuzzer book_readers glaze_book 16384 -dict=fuzz/glaze_book.dict &
  readers_pid=$!
  run_fuzzer typed_text typed_text 256 -dict=fuzz/typed_text.dict &
  text_pid=$!
  for target in glaze_book:$book_pid book_readers:$readers_pid typed_text:$text_pid; do
    name=${target%%:*}
    if wait "${target##*:}"; then
      pass 1
      echo "hardening: fuzz_$name: $(grep -m1 -o 'stat::number_of_executed_units: [0-9]*' "build-fuzz/fuzz_$name.log" |
        sed 's/.*: //') inputs in $fuzz_seconds s, no fault"
    else
      grep -A40 -m1 -E '^==[0-9]+==ERROR|runtime error|^fuzz_' "build-fuzz/fuzz_$name.log" | head -n 60
      grep -E 'Test unit written|artifact_prefix' "build-fuzz/fuzz_$name.log"
      fail 1 "fuzz_$name found a fault (build-fuzz/fuzz_$name.log)"
    fi
  done
else
  fail 1 "building the fuzz targets"
fi
echo "hardening: fuzzing took $((SECONDS - started)) s"

finish
