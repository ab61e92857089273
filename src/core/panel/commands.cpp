// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/commands.h"

#include <stdexcept>

namespace vqx::command {

namespace {
void checkCamera(int n) {
  if (n < 1 || n > kCameraCount) {
    throw std::out_of_range("camera number " + std::to_string(n) + " outside 1 to 16");
  }
}
}  // namespace

char cameraCharacter(int n) {
  checkCamera(n);
  return static_cast<char>(n <= 9 ? '0' + n : 'A' + (n - 10));
}

std::string cameraPlain(int n) {
  checkCamera(n);
  return {'/', static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

std::string cameraFunction(int n) {
  return {'/', 'S', cameraCharacter(n)};
}

std::string cameraAssign(int n) {
  return {'/', 'X', cameraCharacter(n)};
}

std::string functionVariant(char letter) {
  return {'/', '\0', '\1', '/', 'A', letter};
}

}  // namespace vqx::command
