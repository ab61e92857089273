#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Renders the committed PNG icons from vqx16.svg (rsvg-convert, Debian package librsvg2-bin).
# Run it after changing the SVG and commit the PNGs: the build itself needs no renderer.
set -euo pipefail
cd "$(dirname "$0")"
for size in 48 256; do
  mkdir -p "${size}x${size}"
  rsvg-convert -w "$size" -h "$size" vqx16.svg -o "${size}x${size}/vqx16.png"
done
