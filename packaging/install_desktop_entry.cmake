# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Install step for the desktop entry, run with the final prefix in CMAKE_INSTALL_PREFIX (DESTDIR,
# as the package build uses, is a staging root in front of it). Expects VQX16_DESKTOP_TEMPLATE,
# VQX16_DESKTOP_STAGE and VQX16_DATADIR from the install rule.
if(IS_ABSOLUTE "${VQX16_DATADIR}")
  set(vqx16_datadir "${VQX16_DATADIR}")
else()
  set(vqx16_datadir "${CMAKE_INSTALL_PREFIX}/${VQX16_DATADIR}")
endif()
set(VQX16_LANG_DIR "${vqx16_datadir}/vqx16/lang")
configure_file("${VQX16_DESKTOP_TEMPLATE}" "${VQX16_DESKTOP_STAGE}" @ONLY)
file(INSTALL DESTINATION "${vqx16_datadir}/applications" TYPE FILE FILES "${VQX16_DESKTOP_STAGE}")
