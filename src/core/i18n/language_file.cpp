// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/language_file.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace vqx {
namespace {

enum class LineRead { Ok, End, TooLong };

// One line without its line end (CR LF, LF or CR). Stops taking bytes as soon as the line
// exceeds the limit, so an endless line costs no more than the limit.
LineRead readRawLine(std::streambuf& in, std::string& line) {
  line.clear();
  int c = in.sbumpc();
  if (c == std::char_traits<char>::eof()) return LineRead::End;
  while (c != std::char_traits<char>::eof() && c != '\n') {
    if (c == '\r') {
      if (in.sgetc() == '\n') in.sbumpc();
      break;
    }
    if (line.size() == kMaxLanguageLineBytes) return LineRead::TooLong;
    line.push_back(static_cast<char>(c));
    c = in.sbumpc();
  }
  return LineRead::Ok;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Windows-1252 0x80 to 0x9F; the undefined codes keep their own number (C1 controls).
constexpr std::array<std::uint16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

std::string& LanguageTexts::line(int n) {
  return const_cast<std::string&>(static_cast<const LanguageTexts*>(this)->line(n));
}

const std::string& LanguageTexts::line(int n) const {
  switch (n) {
    case 1:
      return pipMessage;
    case 2:
      return exitEntry;
    case 3:
      return portMenu;
    case 4:
      return propertiesEntry;
    case 5:
      return openEntry;
    case 6:
      return languageEntry;
    case 7:
      return infoEntry;
    case 8:
      return portLabel;
    case 9:
      return speedGroup;
    case 10:
      return formatGroup;
    case 11:
      return flowGroup;
    default:
      return cancelButton;
  }
}

std::string windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    appendUtf8(out, b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : b);
  }
  return out;
}

bool isValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
  auto cont = [&](std::size_t k) { return k < n && (at(k) & 0xC0) == 0x80; };
  while (i < n) {
    const unsigned char b = at(i);
    if (b < 0x80) {
      ++i;
    } else if (b >= 0xC2 && b <= 0xDF) {
      if (!cont(i + 1)) return false;
      i += 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      if (!cont(i + 1) || !cont(i + 2)) return false;
      const unsigned char b1 = at(i + 1);
      if (b == 0xE0 && b1 < 0xA0) return false;  // overlong
      if (b == 0xED && b1 > 0x9F) return false;  // surrogate
      i += 3;
    } else if (b >= 0xF0 && b <= 0xF4) {
      if (!cont(i + 1) || !cont(i + 2) || !cont(i + 3)) return false;
      const unsigned char b1 = at(i + 1);
      if (b == 0xF0 && b1 < 0x90) return false;  // overlong
      if (b == 0xF4 && b1 > 0x8F) return false;  // above U+10FFFF
      i += 4;
    } else {
      return false;
    }
  }
  return true;
}

LanguageTexts readLanguageTexts(std::istream* in) {
  std::vector<std::string> raw;
  if (in != nullptr && in->rdbuf() != nullptr) {
    try {
      std::string line;
      while (raw.size() < kLanguageLineCount && readRawLine(*in->rdbuf(), line) == LineRead::Ok) {
        raw.push_back(line);
      }
    } catch (...) {
      // A stream that throws ends the reading like any other failed read.
    }
  }

  bool utf8 = true;
  for (const auto& line : raw) utf8 = utf8 && isValidUtf8(line);
  if (utf8 && !raw.empty() && raw.front().starts_with(kUtf8Bom)) {
    raw.front().erase(0, kUtf8Bom.size());
  }

  LanguageTexts texts;
  std::string working;  // a failed read leaves the last line read in place
  for (int n = 1; n <= kLanguageLineCount; ++n) {
    if (static_cast<std::size_t>(n) <= raw.size()) {
      const std::string& bytes = raw[static_cast<std::size_t>(n - 1)];
      working = utf8 ? bytes : windows1252ToUtf8(bytes);
    }
    texts.line(n) = working;
  }
  return texts;
}

LanguageTexts readLanguageTexts(std::string_view bytes) {
  std::istringstream in{std::string(bytes)};
  return readLanguageTexts(&in);
}

LanguageTexts readLanguageFile(const std::string& path) {
  const std::filesystem::path file(
      std::u8string(reinterpret_cast<const char8_t*>(path.data()), path.size()));
  // Only a regular file, its type checked before it is opened: a FIFO would hold the reader for
  // ever, a device would feed it without end.
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(file, ec))
    return readLanguageTexts(nullptr);
  std::ifstream in(file, std::ios::binary);
  if (!in.is_open()) return readLanguageTexts(nullptr);
  return readLanguageTexts(&in);
}

std::string joinLanguagePath(const std::string& folder, const std::string& fileName,
                             char separator) {
  if (!folder.empty() && folder.back() == separator) return folder + fileName;
  return folder + separator + fileName;
}

}  // namespace vqx
