// Searching, case folding, replacing and UTF-8 decoding of texts.

#include "calc/text_search.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/utf8.h"

namespace paginor::calc {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

TEST(TextSearchTest, FindsShortAndLongNeedles) {
  EXPECT_EQ(FindText("abcabc", "ca"), 2U);
  EXPECT_EQ(FindText("abcabc", "abc", 1), 3U);
  EXPECT_EQ(FindText("abc", ""), kNone);
  EXPECT_EQ(FindText("abc", "abcd"), kNone);
  EXPECT_EQ(FindText("abc", "c", 9), kNone);
  const std::string needle = std::string(40, 'a') + "b";
  const std::string hay = std::string(100000, 'a') + "b" + std::string(10, 'a');
  EXPECT_EQ(FindText(hay, needle), 100000U - 40U);
  EXPECT_EQ(FindText(hay, needle, 99961), kNone);
  EXPECT_EQ(FindText(std::string(100000, 'a'), needle), kNone);
  const std::string periodic = "abababababababababababababababababababab";  // 40 bytes
  EXPECT_EQ(FindText("xx" + periodic + "ab", periodic + "ab"), 2U);
  EXPECT_EQ(FindText("xab" + periodic, periodic), 1U);
}

TEST(TextSearchTest, FoldCaseMapsEveryByteBack) {
  const FoldedText folded = FoldCase("a\xce\xb1z");  // a, Greek alpha, z
  EXPECT_EQ(folded.text, "A\xce\x91Z");
  ASSERT_EQ(folded.origin.size(), folded.text.size() + 1);
  EXPECT_EQ(folded.origin[1], 1U);
  EXPECT_EQ(folded.origin[2], 1U);
  EXPECT_EQ(folded.origin[3], 3U);
  EXPECT_EQ(folded.origin[4], 4U);
}

TEST(TextSearchTest, ReplacesFirstOrEveryOccurrenceWithoutRescanning) {
  const ReplaceOptions all{true, false, 1000};
  const ReplaceOptions first{false, false, 1000};
  EXPECT_EQ(*ReplaceText("aaa", "a", "aa", all), "aaaaaa");
  EXPECT_EQ(*ReplaceText("abab", "ab", "b", all), "bb");
  EXPECT_EQ(*ReplaceText("abab", "ab", "b", first), "bab");
  EXPECT_EQ(*ReplaceText("abc", "", "x", all), "abc");
  EXPECT_EQ(*ReplaceText("", "a", "x", all), "");
  EXPECT_EQ(*ReplaceText("aAa", "a", "b", all), "bAb");
}

TEST(TextSearchTest, ReplacesIgnoringCaseInTheOriginalText) {
  const ReplaceOptions options{true, true, 1000};
  EXPECT_EQ(*ReplaceText("aAa", "A", "b", options), "bbb");
  EXPECT_EQ(*ReplaceText("x\xce\xb1y\xce\x91", "\xce\x91", "-", options), "x-y-");
  EXPECT_EQ(*ReplaceText("\xe4\xb8\xad"
                         "Ab\xe4\xb8\xad",
                         "aB", "", options),
            "\xe4\xb8\xad\xe4\xb8\xad");
}

TEST(TextSearchTest, GivesUpOnResultsBeyondTheLimit) {
  EXPECT_FALSE(ReplaceText(std::string(100, 'a'), "a", "bb", {true, false, 150}));
  EXPECT_TRUE(ReplaceText(std::string(100, 'a'), "a", "bb", {false, false, 150}));
  EXPECT_FALSE(ReplaceText(std::string(200, 'a'), "b", "", {true, false, 150}));
}

TEST(Utf8CodesTest, DecodesValidAndInvalidBytes) {
  EXPECT_EQ(DecodeUtf8("a\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80"),
            (std::vector<char32_t>{U'a', 0xE9, 0x4E2D, 0x1F600}));
  // A stray continuation byte, an overlong form and a cut sequence.
  EXPECT_EQ(DecodeUtf8("\x80\xc0\xaf\xe4\xb8"),
            (std::vector<char32_t>{0xDC80, 0xDCC0, 0xDCAF, 0xDCE4, 0xDCB8}));
}

TEST(Utf8CodesTest, EncodesAndKeepsInvalidBytes) {
  std::string out;
  for (const char32_t c :
       {char32_t{'A'}, char32_t{0xE9}, char32_t{0x4E2D}, char32_t{0x1F600}, char32_t{0xDCFF}}) {
    AppendUtf8(out, c);
  }
  EXPECT_EQ(out, "A\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80\xff");
}

}  // namespace
}  // namespace paginor::calc
