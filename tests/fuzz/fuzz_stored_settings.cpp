// Arbitrary text as a stored port setting, read as the startup reads it: a whole number in a
// range (port number, handshaking) and a truth value (echo). A number accepted must lie in its
// range and read back the same when written plainly; text that is no number is a type mismatch.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/startup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  const struct {
    long long min, max;
  } ranges[] = {{INT16_MIN, INT16_MAX}, {INT32_MIN, INT32_MAX}, {0, 3}};
  for (const auto& range : ranges) {
    const vqx::ParsedInteger parsed = vqx::parseStoredInteger(text, range.min, range.max);
    if (!parsed.result) {
      if (parsed.result.error() != "Type mismatch" && parsed.result.error() != "Overflow") {
        std::abort();
      }
      continue;
    }
    if (parsed.value < range.min || parsed.value > range.max) std::abort();
    const vqx::ParsedInteger again =
        vqx::parseStoredInteger(std::to_string(parsed.value), range.min, range.max);
    if (!again.result || again.value != parsed.value) std::abort();
    // Every whole number is also a truth value: true unless it is 0.
    if (vqx::parseTruthValue(text) != (parsed.value != 0)) std::abort();
  }
  (void)vqx::parseTruthValue(text);
  return 0;
}
