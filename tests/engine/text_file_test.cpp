#include "engine/text_file.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/text_codec.h"
#include "temp_dir.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace paginor {
namespace {

using testing::TempDir;

// "**上页配置**" and "下一页" in GBK.
constexpr std::string_view kPrevHeaderGbk = "**\xC9\xCF\xD2\xB3\xC5\xE4\xD6\xC3**";
constexpr std::string_view kNextPageGbk = "\xCF\xC2\xD2\xBB\xD2\xB3";

TEST(AnsiCodecTest, ConvertsChineseBothWaysByteForByte) {
  const AnsiCodec& codec = SystemAnsiCodec();
  EXPECT_EQ(codec.ToUtf8(kPrevHeaderGbk), "**上页配置**");
  EXPECT_EQ(codec.ToUtf8(std::string(kNextPageGbk) + "\r\nabc"), "下一页\r\nabc");
  EXPECT_EQ(codec.FromUtf8("**上页配置**"), std::string(kPrevHeaderGbk));
  EXPECT_EQ(codec.FromUtf8(""), std::string());
  // Code page 936 has the euro sign at 0x80.
  EXPECT_EQ(codec.ToUtf8("\x80"), "€");
  EXPECT_EQ(codec.FromUtf8("€"), std::string("\x80"));
}

TEST(AnsiCodecTest, UndecodableBytesBecomeReplacementCharacters) {
  const AnsiCodec& codec = SystemAnsiCodec();
  // A lead byte cut off by the end of the text.
  EXPECT_EQ(codec.ToUtf8("A\xC9"), "A\xEF\xBF\xBD");
  // A lead byte followed by a byte that cannot trail it: only the lead is lost.
  EXPECT_EQ(codec.ToUtf8("\x81 x\xCF\xC2"), "\xEF\xBF\xBD x下");
  EXPECT_EQ(codec.ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

// One bad byte in a long text is lost alone; everything around it survives.
TEST(AnsiCodecTest, OneBadByteInALongTextCostsOnlyItself) {
  std::string gbk;
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    gbk += std::string(kNextPageGbk) + "ab";
    expected += "下一页ab";
    if (i == 12345) {
      gbk += "\x81";  // a lead byte without its trail byte before "\xCF"
      gbk += "\x7F";
      expected += "\xEF\xBF\xBD\x7F";
    }
  }
  EXPECT_EQ(SystemAnsiCodec().ToUtf8(gbk), expected);
  EXPECT_EQ(SystemAnsiCodec().ToUtf8("\xFF" + gbk.substr(0, 8)), "\xEF\xBF\xBD下一页ab");
}

TEST(AnsiCodecTest, RefusesTextTheCodePageCannotHold) {
  const AnsiCodec& codec = SystemAnsiCodec();
  EXPECT_FALSE(codec.FromUtf8("下一页😀"));
  EXPECT_FALSE(codec.FromUtf8("한국어"));
  EXPECT_FALSE(codec.FromUtf8("\xEF\xBF\xBD"));
  EXPECT_FALSE(codec.FromUtf8("ab\xC3"));       // truncated
  EXPECT_FALSE(codec.FromUtf8("\xED\xA0\x80"));  // a surrogate
}

TEST(Utf8Test, RecognisesWellFormedText) {
  EXPECT_TRUE(IsValidUtf8("abc 下一页 😀 \xF4\x8F\xBF\xBF"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong "/"
  EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));          // truncated
  EXPECT_FALSE(IsValidUtf8("\x80"));
  EXPECT_EQ(SanitizeUtf8("a\xE4\xB8z下"), "a\xEF\xBF\xBD\xEF\xBF\xBDz下");
  EXPECT_EQ(SanitizeUtf8("ok 😀"), "ok 😀");
}

TEST(TextFileCodingTest, DecodesByBomOrCodePageUpToTheFirstNul) {
  EXPECT_EQ(DecodeTextFile(kNextPageGbk), "下一页");
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF下一页 😀"), "下一页 😀");
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF\xEF\xBB\xBFx"), "\xEF\xBB\xBFx");  // one BOM only
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF" "a\xFF"), "a\xEF\xBF\xBD");
  EXPECT_EQ(DecodeTextFile(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(DecodeTextFile(std::string("\xEF\xBB\xBFx\0y", 6)), "x");
  EXPECT_EQ(DecodeTextFile(std::string("\0abc", 4)), "");
}

TEST(TextFileCodingTest, EncodesAnsiWhenEverythingFitsElseUtf8WithBom) {
  EXPECT_EQ(EncodeTextFile("下一页"), kNextPageGbk);
  EXPECT_EQ(EncodeTextFile(""), "");
  EXPECT_EQ(EncodeTextFile("下一页 😀"), "\xEF\xBB\xBF下一页 😀");
  EXPECT_EQ(EncodeTextFile("한국어"), "\xEF\xBB\xBF한국어");
  // "锘靠" is EF BB BF BF in GBK: as ANSI it would read back as a BOM.
  EXPECT_EQ(EncodeTextFile("锘靠"), "\xEF\xBB\xBF锘靠");
  for (const std::string text : {"下一页", "한국어 😀", "锘靠", "\xEF\xBB\xBFx", "€"}) {
    EXPECT_EQ(DecodeTextFile(EncodeTextFile(text)), text) << text;
  }
}

TEST(TextFileCodingTest, ReadsUtf8WithoutBomAndUtf16WithBom) {
  EXPECT_EQ(DecodeTextBytes("**下页配置**\r\nzzfoo"), "**下页配置**\r\nzzfoo");
  EXPECT_EQ(DecodeTextBytes("plain ascii"), "plain ascii");
  EXPECT_EQ(DecodeTextBytes(std::string("\xFF\xFE*\0\x0BN\x3D\xD8\x00\xDE", 10)), "*下😀");
  EXPECT_EQ(DecodeTextBytes(std::string("\xFE\xFF\0*\x4E\x0B\xD8\x3D\xDE\x00", 10)), "*下😀");
  // Unpaired surrogates and an odd last byte are malformed, not lost silently.
  EXPECT_EQ(DecodeTextBytes(std::string("\xFF\xFE\x00\xD8x\0y", 7)), "\xEF\xBF\xBDx\xEF\xBF\xBD");
  // UTF-16 without its mark is not guessed: its NUL bytes give it away to the reader.
  EXPECT_EQ(DecodeTextBytes(std::string("a\0", 2)), std::string("a\0", 2));
}

// Text in GBK is practically never valid UTF-8: every GBK file the project ships, and
// the words rules are made of, still read as GBK.
TEST(TextFileCodingTest, GbkFilesStillReadAsGbk) {
  const AnsiCodec& codec = SystemAnsiCodec();
  for (const char* name : {"examples/last.pgt", "examples/gallery/xy.txt", "tests/cli/data/disable.txt"}) {
    const std::string bytes = TempDir::ReadBytes(std::string(PAGINOR_SOURCE_DIR) + "/" + name);
    ASSERT_FALSE(bytes.empty()) << name;
    EXPECT_EQ(DecodeTextBytes(bytes), codec.ToUtf8(bytes)) << name;
  }
  for (const std::string words : {"**上页配置**", "下一页", "上一章", "第$页", "最新章节", "首页 末页"}) {
    const std::optional<std::string> gbk = codec.FromUtf8(words);
    ASSERT_TRUE(gbk.has_value());
    EXPECT_EQ(DecodeTextBytes(*gbk), words);
  }
}

// "说" is CB B5 in GBK, which is also valid UTF-8 ("˵"): written in GBK it would read
// back as another character, so the file is written as UTF-8 with a BOM.
TEST(TextFileCodingTest, GbkBytesThatReadAsUtf8AreWrittenWithABom) {
  EXPECT_EQ(EncodeTextFile("说"), "\xEF\xBB\xBF说");
  EXPECT_EQ(DecodeTextBytes(EncodeTextFile("说")), "说");
  EXPECT_EQ(EncodeTextFile("说明书"), SystemAnsiCodec().FromUtf8("说明书"));
}

TEST(TextFileTest, ReadsOnlyRegularTextFilesOfAPersonsSize) {
  TempDir dir;
  std::string error;
  EXPECT_FALSE(ReadTextFile(dir.File("missing.pgt"), error));
  EXPECT_EQ(error, "does not exist");
  EXPECT_FALSE(ReadTextFile(dir.File(""), error));
  EXPECT_EQ(error, "is a directory");
  const std::string large = dir.File("large.pgt");
  TempDir::WriteBytes(large, "x");
  std::filesystem::resize_file(TempDir::Native(large), kMaxTextFileBytes + 1);
  EXPECT_FALSE(ReadTextFile(large, error));
  EXPECT_EQ(error, "is larger than 4 MiB");
  const std::string binary = dir.File("picture.pgt");
  TempDir::WriteBytes(binary, std::string("**\xC9\xCF\0\x01", 6));
  EXPECT_FALSE(ReadTextFile(binary, error));
  EXPECT_EQ(error, "is not a text file (it holds NUL bytes)");
  const std::string utf8 = dir.File("utf8.pgt");
  TempDir::WriteBytes(utf8, "**下页配置**\r\nzzfoo\r\n");
  EXPECT_EQ(ReadTextFile(utf8, error), "**下页配置**\r\nzzfoo\r\n");
}

#ifndef _WIN32
// Neither a FIFO (which would wait for a writer forever) nor an endless device is read.
TEST(TextFileTest, SpecialFilesAreRefusedWithoutWaiting) {
  TempDir dir;
  const std::string fifo = dir.File("fifo.pgt");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string error;
  EXPECT_FALSE(ReadTextFile(fifo, error));
  EXPECT_EQ(error, "is not a regular file");
  EXPECT_FALSE(ReadTextFile("/dev/zero", error));
  EXPECT_EQ(error, "is not a regular file");
}

TEST(TextFileTest, ReplacedFileKeepsItsPermissions) {
  TempDir dir;
  const std::string path = dir.File("last.pgt");
  ASSERT_TRUE(WriteTextFile(path, "old"));
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WriteTextFile(path, "new"));
  struct stat status{};
  ASSERT_EQ(stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_EQ(TempDir::ReadBytes(path), "new");
}
#endif

TEST(TextFileTest, ReadsGbkAndBomFiles) {
  TempDir dir;
  const std::string gbk = dir.File("gbk.pgt");
  const std::string bom = dir.File("bom.pgt");
  TempDir::WriteBytes(gbk, std::string(kPrevHeaderGbk) + "\r\n" + std::string(kNextPageGbk));
  TempDir::WriteBytes(bom, "\xEF\xBB\xBF**上页配置**\r\n한국어");
  EXPECT_EQ(ReadTextFile(gbk), "**上页配置**\r\n下一页");
  EXPECT_EQ(ReadTextFile(bom), "**上页配置**\r\n한국어");
}

TEST(TextFileTest, MissingFilesAndDirectoriesAreNotRead) {
  TempDir dir;
  EXPECT_FALSE(ReadTextFile(dir.File("missing.pgt")));
  EXPECT_FALSE(FileExists(dir.File("missing.pgt")));
  std::filesystem::create_directory(TempDir::Native(dir.File("folder.pgt")));
  EXPECT_FALSE(ReadTextFile(dir.File("folder.pgt")));
  EXPECT_FALSE(FileExists(dir.File("folder.pgt")));
  TempDir::WriteBytes(dir.File("empty.pgt"), "");
  EXPECT_TRUE(FileExists(dir.File("empty.pgt")));
  EXPECT_EQ(ReadTextFile(dir.File("empty.pgt")), "");
}

TEST(TextFileTest, WritesGbkByteForByteAndReplacesTheOldFile) {
  TempDir dir;
  const std::string path = dir.File("last.pgt");
  TempDir::WriteBytes(path, "old content that is longer than the new one");
  ASSERT_TRUE(WriteTextFile(path, "**上页配置**\r\n"));
  EXPECT_EQ(TempDir::ReadBytes(path), std::string(kPrevHeaderGbk) + "\r\n");
  EXPECT_EQ(dir.EntryCount(), 1);  // no temporary file left beside it
}

TEST(TextFileTest, TextOutsideTheCodePageSurvivesWriteAndRead) {
  TempDir dir;
  const std::string path = dir.File("last.pgt");
  const std::string text = "**上页配置**\r\n😀\r\n한국어\r\n";
  ASSERT_TRUE(WriteTextFile(path, text));
  EXPECT_EQ(TempDir::ReadBytes(path), "\xEF\xBB\xBF" + text);
  EXPECT_EQ(ReadTextFile(path), text);
}

TEST(TextFileTest, HandlesNonAsciiPaths) {
  TempDir dir;
  std::error_code ec;
  std::filesystem::create_directory(TempDir::Native(dir.File("配置")), ec);
  // Wine without a UTF-8 host locale cannot name files in Chinese at all.
  if (ec) GTEST_SKIP() << "no non-ASCII file names here: " << ec.message();
  const std::string path = dir.File("配置/翻页.pgt");
  ASSERT_TRUE(WriteTextFile(path, "下一页"));
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(ReadTextFile(path), "下一页");
}

TEST(TextFileTest, FailedWritesLeaveNothingBehind) {
  TempDir dir;
  EXPECT_FALSE(WriteTextFile(dir.File("no/such/dir/last.pgt"), "x"));
  // A directory in the way cannot be replaced by the file.
  const std::string blocked = dir.File("blocked.pgt");
  std::filesystem::create_directory(TempDir::Native(blocked));
  TempDir::WriteBytes(dir.File("blocked.pgt/inside"), "keep");
  EXPECT_FALSE(WriteTextFile(blocked, "x"));
  EXPECT_EQ(TempDir::ReadBytes(dir.File("blocked.pgt/inside")), "keep");
  EXPECT_EQ(dir.EntryCount(), 1);
}

#ifndef _WIN32
// The disk fills up halfway through the write: the old file must stay whole.
TEST(TextFileTest, WriteCutShortKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir.File("last.pgt");
  const std::string old = "**上页配置**\r\nold rule\r\n";
  ASSERT_TRUE(WriteTextFile(path, old));
  const std::string oldBytes = TempDir::ReadBytes(path);

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WriteTextFile(path, "**上页配置**\r\n" + std::string(100000, 'x'));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(TempDir::ReadBytes(path), oldBytes);
  EXPECT_EQ(dir.EntryCount(), 1);
}
#endif

TEST(TextFilesTest, DiskFilesGoThroughTheSameFunctions) {
  TempDir dir;
  TextFiles& files = DiskTextFiles();
  const std::string path = dir.File("a.txt");
  EXPECT_FALSE(files.Exists(path));
  EXPECT_TRUE(files.Write(path, "上一页"));
  EXPECT_TRUE(files.Exists(path));
  EXPECT_EQ(files.Read(path), "上一页");
}

}  // namespace
}  // namespace paginor
