#include "core/text.h"

#include <gtest/gtest.h>

#include <string>

#include "lastora/text_file.h"
#include "support/vb_error_number.h"

namespace lastora::text {
namespace {

using testing::ErrorOf;

// 8 characters, 12 bytes.
const std::string kMixed = "Müßig €5";

TEST(TextTest, CountsSearchesPadsAndChangesCaseOfCharactersNotBytes) {
  EXPECT_EQ(Length(kMixed), 8u);
  EXPECT_EQ(Length("\xF0\x9F\x98\x80"), 1u);  // outside the basic plane
  EXPECT_EQ(Left(kMixed, 2), "Mü");
  EXPECT_EQ(Right(kMixed, 2), "€5");
  EXPECT_EQ(Mid(kMixed, 2, 3), "üßi");
  EXPECT_EQ(ErrorOf([] { Mid("abc", 0); }), 5);
  EXPECT_EQ(InStr(kMixed, "€"), 7u);
  EXPECT_EQ(InStr("abcabc", "bc", 3), 5u);
  EXPECT_EQ(ErrorOf([] { InStr("abc", "a", 0); }), 5);
  EXPECT_EQ(InStrRev("äbcäbc", "bc"), 5u);
  EXPECT_EQ(PadRight("Müller", 8), "Müller  ");
  EXPECT_EQ(PadRight("Müller", 3), "Mül");
  // Long plain texts are cut on the fast path, one past the first eight bytes as well.
  EXPECT_EQ(PadRight("ABCDEFGHIJ", 9), "ABCDEFGHI");
  EXPECT_EQ(PadRight("ABCDEFGHü", 8), "ABCDEFGH");
  // A broken byte is one character, as everywhere else.
  EXPECT_EQ(PadRight("a\xFF", 3, "."), "a\xFF.");
  // Case, trimming, replacing and repeating.
  EXPECT_EQ(UCase("straße äöü éàç ÿ œšž 1€"), "STRAßE ÄÖÜ ÉÀÇ Ÿ ŒŠŽ 1€");
  EXPECT_EQ(LCase("ÄÖÜ ÉÀÇ Ÿ ŒŠŽ"), "äöü éàç ÿ œšž");
  // A broken byte stays as it was.
  EXPECT_EQ(UCase("müller-lüdenscheidt gmbh\xFF"
                  "abc"),
            "MÜLLER-LÜDENSCHEIDT GMBH\xFF"
            "ABC");
  EXPECT_EQ(Trim("  a\tb  "), "a\tb");
  EXPECT_EQ(Replace("a\r\nb\r\n", "\r\n", " / "), "a / b / ");
  EXPECT_EQ(Repeat("€", 2), "€€");
}

TEST(TextTest, TextThatIsNoUtf8IsReadInTheWindowsCodePage) {
  EXPECT_TRUE(text::IsValidUtf8("Bäcker € \xF0\x9F\x98\x80 \xEF\xBF\xBD"));
  EXPECT_TRUE(text::IsValidUtf8("\xF4\x8F\xBF\xBF"));  // U+10FFFF, the last code point
  for (const std::string_view bad : {"\xED\xA0\x80", "\xE0\x80\x80", "\xC1\xBF", "\xF4\x90\x80\x80",
                                     "\x80", "ab\xC3", "\xC3(", "\xFF"}) {
    EXPECT_FALSE(text::IsValidUtf8(bad)) << ::testing::PrintToString(std::string(bad));
    // Also behind a valid character and a long plain stretch.
    const std::string late = "Bäcker; 0123456789 abcdefghijklmnop " + std::string(bad);
    EXPECT_FALSE(text::IsValidUtf8(late)) << ::testing::PrintToString(late);
  }
  // A surrogate or overlong form is no UTF-8: the bytes are the Windows code page's characters.
  const DecodedText overlong = DecodeTextFile("\xEF\xBB\xBF\xE0\x80\x80");
  EXPECT_TRUE(overlong.windows1252);
  EXPECT_EQ(overlong.text, "à€€");
  const DecodedText utf8 = DecodeTextFile("\xEF\xBB\xBFStraße");
  EXPECT_FALSE(utf8.windows1252);
  EXPECT_EQ(utf8.text, "Straße");
  EXPECT_EQ(EncodeTextFile(utf8), "\xEF\xBB\xBFStraße");
  const DecodedText cp1252 = DecodeTextFile("Stra\337e");
  EXPECT_EQ(cp1252.text, "Straße");
  EXPECT_EQ(EncodeTextFile(cp1252), "Stra\337e");
  EXPECT_EQ(FromWindows1252("\x80\x84\x96\x9F\xE4\xDF"), "€„–Ÿäß");
  // Characters outside the code page, and C1 controls that the page uses for other characters.
  EXPECT_EQ(ToWindows1252("Łódź \u0080 \u0082 \xF0\x9F\x98\x80"), "?\363d? ? ? ?");
}

}  // namespace
}  // namespace lastora::text
