# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
#
# The checks of ./test.sh --full beyond the plain test run: the packaging checks, the whole
# test suite again with AddressSanitizer and UndefinedBehaviorSanitizer, then every fuzz target
# for a while. Sourced by test.sh after scripts/common.sh.

# The size of the test suite against the program: test lines (tests/, seed corpora aside) against
# the program's lines (src/, tools/). The aim is a quarter to a third; the check fails above
# 35 %, so that new tests come as new rows of the tables and the suite comes down as the program
# grows.
vqx16_test_size() {
  local code tests
  code=$(cd "$VQX16_ROOT" && find src tools -type f -print0 | xargs -0 cat | wc -l)
  tests=$(cd "$VQX16_ROOT" && find tests -type f -not -path 'tests/fuzz/corpus/*' -print0 |
    xargs -0 cat | wc -l)
  echo "== Test size: $tests test lines for $code program lines" \
    "($(awk "BEGIN { printf \"%.1f\", 100 * $tests / $code }") %, at most 35 %, aim 25 to 33 %)"
  [ $((100 * tests)) -le $((35 * code)) ]
}

VQX16_ASAN_BUILD=${VQX16_ASAN_BUILD:-$VQX16_ROOT/build-asan}
VQX16_FUZZ_BUILD=${VQX16_FUZZ_BUILD:-$VQX16_ROOT/build-fuzz}
VQX16_FUZZ_SECONDS=${VQX16_FUZZ_SECONDS:-30}

# Any finding ends the program with a failure. Leaks are looked for in every test program; the
# suppression file names only allocations made inside the system libraries under Qt (fonts,
# X, D-Bus), never a stack through our code alone.
vqx16_sanitizer_environment() {
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1:check_initialization_order=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$VQX16_ROOT/tests/sanitizers/lsan.supp:print_suppressions=0
}

# The Debian package and the README's ./run.sh, checked once on the build tree just tested
# (they use it as it is and never build another).
vqx16_packaging_checks() {
  echo "== Packaging checks ($VQX16_BUILD)"
  bash "$VQX16_ROOT/tests/packaging/package_test.sh" "$VQX16_ROOT" "$VQX16_BUILD"
  bash "$VQX16_ROOT/tests/packaging/run_test.sh" "$VQX16_ROOT" "$VQX16_BUILD"
}

vqx16_sanitizer_tests() {
  echo "== Tests with AddressSanitizer and UndefinedBehaviorSanitizer ($VQX16_ASAN_BUILD)"
  vqx16_sanitizer_environment  # also for the test discovery that runs during the build
  VQX16_BUILD=$VQX16_ASAN_BUILD vqx16_build -DVQX16_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
  (cd "$VQX16_ASAN_BUILD" && ctest --output-on-failure -j"$(nproc)" --timeout 300)
}

# Every tests/fuzz/fuzz_*.cpp runs over its committed corpus and then explores for
# VQX16_FUZZ_SECONDS; new inputs go to the build folder, a crashing input to
# build-fuzz/artifacts/. Two fuzzers run at a time on a two-core machine.
vqx16_fuzz() {
  echo "== Fuzz targets, ${VQX16_FUZZ_SECONDS} s each ($VQX16_FUZZ_BUILD)"
  if [ ! -f "$VQX16_FUZZ_BUILD/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$VQX16_ROOT" -B "$VQX16_FUZZ_BUILD" -G Ninja \
      -DVQX16_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVQX16_WERROR="$([ -n "${CI:-}" ] && echo ON || echo OFF)"
  fi
  cmake --build "$VQX16_FUZZ_BUILD" -j"$(nproc)"
  local names=() source name
  for source in "$VQX16_ROOT"/tests/fuzz/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    if [ ! -d "$VQX16_ROOT/tests/fuzz/corpus/$name" ]; then
      echo "fuzz target $name has no seed corpus in tests/fuzz/corpus/$name" >&2
      return 1
    fi
    names+=("$name")
  done
  mkdir -p "$VQX16_FUZZ_BUILD/artifacts"
  vqx16_sanitizer_environment
  unset LSAN_OPTIONS
  local failed=0 pids=() running=() i
  run_one() {
    local name=$1
    mkdir -p "$VQX16_FUZZ_BUILD/corpus/$name"
    "$VQX16_FUZZ_BUILD/tests/$name" -max_total_time="$VQX16_FUZZ_SECONDS" -timeout=10 \
      -rss_limit_mb=2048 -artifact_prefix="$VQX16_FUZZ_BUILD/artifacts/$name-" \
      "$VQX16_FUZZ_BUILD/corpus/$name" "$VQX16_ROOT/tests/fuzz/corpus/$name" \
      >"$VQX16_FUZZ_BUILD/$name.log" 2>&1
  }
  for ((i = 0; i < ${#names[@]}; i += $(nproc))); do
    pids=() running=()
    for name in "${names[@]:i:$(nproc)}"; do
      run_one "$name" &
      pids+=($!)
      running+=("$name")
    done
    for j in "${!pids[@]}"; do
      if wait "${pids[j]}"; then
        echo "${running[j]}: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$VQX16_FUZZ_BUILD/${running[j]}.log" | tail -1)"
      else
        failed=1
        echo "${running[j]}: FAILED (log: $VQX16_FUZZ_BUILD/${running[j]}.log)" >&2
        grep -A30 -m1 'ERROR\|runtime error\|deadly signal' "$VQX16_FUZZ_BUILD/${running[j]}.log" >&2 || true
      fi
    done
  done
  return $failed
}
