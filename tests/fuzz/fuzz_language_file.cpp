// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the language file reader and judges the texts with the C library's
// own converter, not with the reader's code: every text must be UTF-8, and a file of one line
// must come out as it is when it is UTF-8, else as its bytes read one by one in Windows-1252.
#include <iconv.h>

#include <cstdint>
#include <cstdlib>
#include <optional>

#include "i18n/language_file.h"

namespace {

const iconv_t kUtf8 = iconv_open("UTF-32LE", "UTF-8");
const iconv_t kCp1252 = iconv_open("UTF-32LE", "CP1252");

// The text's characters, or nothing when the converter refuses it.
std::optional<std::u32string> convert(iconv_t cd, std::string_view text) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::u32string out(text.size() + 1, U'\0');
  char* in = const_cast<char*>(text.data());
  char* outPtr = reinterpret_cast<char*>(out.data());
  std::size_t inLeft = text.size(), outLeft = out.size() * sizeof(char32_t);
  if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == std::size_t(-1) || inLeft != 0) return {};
  out.resize(out.size() - outLeft / sizeof(char32_t));
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const vqx::LanguageTexts texts = vqx::readLanguageTexts(bytes);
  for (int n = 1; n <= vqx::kLanguageLineCount; ++n) {
    const std::string& text = texts.line(n);
    if (!convert(kUtf8, text) || text.find_first_of("\r\n") != std::string::npos) std::abort();
  }
  if (bytes.find_first_of("\r\n") != std::string_view::npos || size > vqx::kMaxLanguageLineBytes)
    return 0;
  // One line: its text is the line itself when it is UTF-8 (without a byte order mark) ...
  std::string_view line = bytes;
  if (convert(kUtf8, line)) {
    if (line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
    if (texts.pipMessage != line) std::abort();
    return 0;
  }
  // ... else each byte is one character: its Windows-1252 character, or the control character
  // of the same number for the five codes Windows-1252 leaves undefined.
  const std::u32string got = convert(kUtf8, texts.pipMessage).value_or(U"");
  if (got.size() != line.size()) std::abort();
  for (std::size_t i = 0; i < line.size(); ++i) {
    const auto one = convert(kCp1252, line.substr(i, 1));
    if (got[i] != (one ? one->at(0) : char32_t(std::uint8_t(line[i])))) std::abort();
  }
  return 0;
}
