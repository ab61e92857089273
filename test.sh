#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs what is missing, builds, and runs every test.
#
#   ./test.sh          build/ and every test
#   ./test.sh --full   the same, then the size of the test suite against the program, the
#                      packaging checks on build/ (tests/packaging/), every test again built
#                      with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/), then
#                      every fuzz target for 30 s (build-fuzz/, clang)
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

full=0
case "${1:-}" in
  "") ;;
  --full) full=1 ;;
  *) echo "usage: $0 [--full]" >&2; exit 2 ;;
esac

vqx16_install_dependencies
vqx16_build
cd "$VQX16_BUILD"
ctest --output-on-failure -j"$(nproc)" --timeout 120

if [ $full -eq 1 ]; then
  source "$VQX16_ROOT/scripts/full_checks.sh"
  vqx16_test_size
  vqx16_packaging_checks
  vqx16_sanitizer_tests
  vqx16_fuzz
  echo "== All tests, the suite's size, packaging checks, sanitizer tests and fuzz runs passed"
fi
