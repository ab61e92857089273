#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

vqx16_install_dependencies
vqx16_build
cd "$VQX16_BUILD"
ctest --output-on-failure -j"$(nproc)" --timeout 120
