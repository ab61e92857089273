// Feeds arbitrary bytes to the language file reader. Every text must come out as valid UTF-8,
// no longer than the line limit allows, and the reading must end on its own.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "i18n/language_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const vqx::LanguageTexts texts = vqx::readLanguageTexts(bytes);
  for (int n = 1; n <= vqx::kLanguageLineCount; ++n) {
    const std::string& line = texts.line(n);
    // Windows-1252 turns one byte into at most three UTF-8 bytes.
    if (!vqx::isValidUtf8(line) || line.size() > 3 * vqx::kMaxLanguageLineBytes) std::abort();
    if (line.find_first_of("\r\n") != std::string::npos) std::abort();
  }
  return 0;
}
