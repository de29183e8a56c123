#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "whois/answer_display.h"
#include "whois/answer_lines.h"

namespace qv::whois {
namespace {

std::string assemble(const std::vector<std::string_view>& blocks) {
  AnswerLines lines;
  for (const std::string_view block : blocks) lines.append(block);
  lines.finish();
  return lines.text();
}

TEST(AnswerLines, EndsEveryLineInCrLf) {
  EXPECT_EQ(assemble({"a\nb\r\n"}), "a\r\nb\r\n");
  // An empty line ending in a bare LF vanishes; one ending in CR LF stays.
  EXPECT_EQ(assemble({"a\n\nb\n"}), "a\r\nb\r\n");
  EXPECT_EQ(assemble({"a\r\n\r\nb\r\n"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(assemble({"\n\n\n"}), "");
  // A lone CR inside a line is kept as it is.
  EXPECT_EQ(assemble({"a\rb\n"}), "a\rb\r\n");
}

TEST(AnswerLines, AssemblesLinesSplitAcrossReads) {
  const std::string whole = assemble({"OrgID:      RIPE\r\nCountry:    NL\n"});
  EXPECT_EQ(assemble({"OrgID:   ", "   RIPE\r\nCoun", "try:    NL\n"}), whole);
  // Split between CR and LF, and an empty CR LF line split the same way.
  EXPECT_EQ(assemble({"a\r", "\n\r", "\nb\n"}), "a\r\n\r\nb\r\n");
  // A bare-LF empty line whose LF arrives alone still vanishes.
  EXPECT_EQ(assemble({"a\n", "\n", "b\n"}), "a\r\nb\r\n");
}

TEST(AnswerLines, KeepsALastLineWithoutLf) {
  EXPECT_EQ(assemble({"a\nlast"}), "a\r\nlast\r\n");
  EXPECT_EQ(assemble({"a\nlast\r"}), "a\r\nlast\r\n");
  AnswerLines lines;
  lines.append("a\npart");
  EXPECT_EQ(lines.text(), "a\r\n");
  EXPECT_EQ(lines.pendingSize(), 4u);
}

TEST(AnswerLines, IgnoresABlockAfterItsFirstZeroByte) {
  EXPECT_EQ(assemble({std::string_view("a\nb\0c\n", 6), "d\n"}), "a\r\nbd\r\n");
}

TEST(AnswerDisplay, DecodesByCharacterSetUnlessValidUtf8) {
  // Ł ó d ź in Windows-1250; the same bytes read as Windows-1252 before a
  // referral to LACNIC or RIPE.
  const std::string_view bytes = "\xA3\xF3" "d\x9F";
  EXPECT_EQ(answerDisplayText(bytes, true), "\xC5\x81\xC3\xB3" "d\xC5\xBA");
  EXPECT_EQ(answerDisplayText(bytes, false), "\xC2\xA3\xC3\xB3" "d\xC5\xB8");
  // Valid UTF-8 is shown as it is, whatever the character set.
  EXPECT_EQ(answerDisplayText("S\xC3\xA3o Paulo", true), "S\xC3\xA3o Paulo");
  // Undefined code points become the replacement character.
  EXPECT_EQ(answerDisplayText("\x81", false), "\xEF\xBF\xBD");
}

TEST(AnswerDisplay, RejectsMalformedUtf8) {
  EXPECT_TRUE(isValidUtf8("plain \xE2\x80\xA6 \xF0\x9F\x98\x80"));
  EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(isValidUtf8("\xE2\x80"));          // cut short
  EXPECT_FALSE(isValidUtf8("\xE0\x80\x80"));      // overlong three-byte form
}

}  // namespace
}  // namespace qv::whois
