#include "i18n/language_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <streambuf>

namespace vqx {
namespace {

std::vector<std::string> linesOf(const LanguageTexts& t) {
  std::vector<std::string> out;
  for (int n = 1; n <= kLanguageLineCount; ++n) out.push_back(t.line(n));
  return out;
}

std::string numbered(int count, const char* eol = "\r\n") {
  std::string s;
  for (int i = 1; i <= count; ++i) s += "L" + std::to_string(i) + eol;
  return s;
}

TEST(LanguageTexts, NamesFollowTheLineOrder) {
  LanguageTexts t = readLanguageTexts(numbered(12));
  EXPECT_EQ(t.pipMessage, "L1");
  EXPECT_EQ(t.mnuFileExit, "L2");
  EXPECT_EQ(t.mnuOpen, "L5");
  EXPECT_EQ(t.Info, "L7");
  EXPECT_EQ(t.Label1, "L8");
  EXPECT_EQ(t.fraConnection, "L10");
  EXPECT_EQ(t.cmdCancel, "L12");
}

TEST(ReadLanguageTexts, LineRules) {
  using V = std::vector<std::string>;
  const V twelve = {"L1", "L2", "L3", "L4", "L5", "L6", "L7", "L8", "L9", "L10", "L11", "L12"};
  const V fiveThenRepeat = {"L1", "L2", "L3", "L4", "L5", "L5", "L5", "L5", "L5", "L5", "L5", "L5"};
  const V empty(12, "");
  const struct {
    const char* name;
    std::string bytes;
    V expected;
  } cases[] = {
      {"twelve CR LF lines", numbered(12), twelve},
      {"fifteen lines, the last three ignored", numbered(15), twelve},
      {"five lines, the fifth repeats", numbered(5), fiveThenRepeat},
      {"last line without line end", numbered(4) + "L5", fiveThenRepeat},
      {"bare LF line ends", numbered(12, "\n"), twelve},
      {"bare CR line ends", numbered(12, "\r"), twelve},
      {"empty file", "", empty},
      {"spaces kept, empty lines empty",
       "  lead\r\ntrail  \r\n\r\n \r\n",
       {"  lead", "trail  ", "", " ", " ", " ", " ", " ", " ", " ", " ", " "}},
      {"CR CR LF is two line ends",
       "a\r\r\nb\r\n",
       {"a", "", "b", "b", "b", "b", "b", "b", "b", "b", "b", "b"}},
      {"ampersands and markup taken literally", "<b>&x</b>\r\n", V(12, "<b>&x</b>")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(linesOf(readLanguageTexts(c.bytes)), c.expected) << c.name;
  }
}

TEST(ReadLanguageTexts, NullStreamIsAnUnreadableFile) {
  EXPECT_EQ(linesOf(readLanguageTexts(nullptr)), std::vector<std::string>(12, ""));
}

TEST(ReadLanguageTexts, Encodings) {
  const struct {
    const char* name;
    std::string bytes;
    std::string line1;
  } cases[] = {
      {"UTF-8 kept", "Propriet\xC3\xA0...", "Propriet\xC3\xA0..."},
      {"UTF-8 byte order mark dropped", "\xEF\xBB\xBFOK", "OK"},
      {"Windows-1252 accented letter", "Propriet\xE0...", "Propriet\xC3\xA0..."},
      {"Windows-1252 euro and quotes", "\x80\x93\x94\x9F",
       "\xE2\x82\xAC\xE2\x80\x9C\xE2\x80\x9D\xC5\xB8"},
      {"undefined codes become C1 controls", "\x81\x8D\x8F\x90\x9D",
       "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
      {"truncated UTF-8 read as Windows-1252", "a\xC3", "a\xC3\x83"},
      {"overlong form is not UTF-8", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
      {"surrogate is not UTF-8", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
      {"BOM kept as text when the file is not UTF-8", "\xEF\xBB\xBF\xE0",
       "\xC3\xAF\xC2\xBB\xC2\xBF\xC3\xA0"},
      {"NUL byte kept", std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(readLanguageTexts(c.bytes + "\r\n").pipMessage, c.line1) << c.name;
  }
}

TEST(ReadLanguageTexts, OneInvalidLineMakesTheWholeFileWindows1252) {
  const auto t = readLanguageTexts("\xC3\xA0\r\n\xE0\r\n");
  EXPECT_EQ(t.pipMessage, "\xC3\x83\xC2\xA0");
  EXPECT_EQ(t.mnuFileExit, "\xC3\xA0");
}

TEST(ReadLanguageTexts, BytesAfterTheTwelfthLineDoNotDecideTheEncoding) {
  const auto t = readLanguageTexts(numbered(11) + "Propriet\xC3\xA0\r\n\xFF\xFE\r\n");
  EXPECT_EQ(t.cmdCancel, "Propriet\xC3\xA0");
}

TEST(ReadLanguageTexts, OverlongLineIsAFailedReadAndEndsTheReading) {
  const std::string limit(kMaxLanguageLineBytes, 'x');
  auto t = readLanguageTexts("one\r\n" + limit + "\r\nthree\r\n");
  EXPECT_EQ(t.mnuFileExit, limit);
  EXPECT_EQ(t.mnuPort, "three");

  t = readLanguageTexts("one\r\n" + limit + "y\r\nthree\r\n");
  EXPECT_EQ(linesOf(t), std::vector<std::string>(12, "one"));
}

// A stream of endless bytes: the reader must stop on its own.
class EndlessBuf : public std::streambuf {
 public:
  std::size_t served = 0;

 protected:
  int_type underflow() override {
    setg(buf_, buf_, buf_ + sizeof buf_);
    served += sizeof buf_;
    return traits_type::to_int_type(buf_[0]);
  }

 private:
  char buf_[4096] = {'z'};
};

TEST(ReadLanguageTexts, EndlessLineStopsAfterTheLimit) {
  EndlessBuf buf;
  std::istream in(&buf);
  EXPECT_EQ(linesOf(readLanguageTexts(&in)), std::vector<std::string>(12, ""));
  EXPECT_LE(buf.served, kMaxLanguageLineBytes + 8192);
}

class LanguageFileOnDisk : public ::testing::Test {
 protected:
  std::filesystem::path dir;
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("vqx16_lang_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
    return (dir / name).string();
  }
};

TEST_F(LanguageFileOnDisk, ReadsAFileAndTreatsMissingFilesAndFoldersAsUnreadable) {
  EXPECT_EQ(readLanguageFile(write("English.lng", numbered(12))).cmdCancel, "L12");
  const std::vector<std::string> empty(12, "");
  EXPECT_EQ(linesOf(readLanguageFile((dir / "missing.lng").string())), empty);
  EXPECT_EQ(linesOf(readLanguageFile(dir.string())), empty);
  EXPECT_EQ(linesOf(readLanguageFile("")), empty);
}

TEST_F(LanguageFileOnDisk, PathInUtf8AndLargeFileReadOnlyToItsTwelfthLine) {
  std::string big = numbered(12);
  big += std::string(4 * 1024 * 1024, 'q');
  const auto path = write("Italiano \xC3\xA0.lng", big);
  EXPECT_EQ(readLanguageFile(path).cmdCancel, "L12");
}

TEST(JoinLanguagePath, AddsOneSeparator) {
  EXPECT_EQ(joinLanguagePath("C:\\lang", "English.lng", '\\'), "C:\\lang\\English.lng");
  EXPECT_EQ(joinLanguagePath("C:\\", "English.lng", '\\'), "C:\\English.lng");
  EXPECT_EQ(joinLanguagePath("/", "English.lng", '/'), "/English.lng");
  EXPECT_EQ(joinLanguagePath("/usr/share/vqx16", "Italiano.lng", '/'),
            "/usr/share/vqx16/Italiano.lng");
}

}  // namespace
}  // namespace vqx
