#include <gtest/gtest.h>

#include <string>

#include "viewer/payload_document.h"

namespace qv {
namespace {

// What a text widget makes of the payload: each CR LF one line break.
std::string asWidgetHoldsIt(std::string_view payload) {
  std::string text;
  for (std::size_t i = 0; i < payload.size(); ++i) {
    if (payload[i] == '\r' && i + 1 < payload.size() && payload[i + 1] == '\n') ++i;
    text.push_back(payload[i] == '\r' ? '\n' : payload[i]);
  }
  return text;
}

TEST(PayloadDocumentTest, BytePositionsSurviveTheWidgetsLineBreaks) {
  for (const std::string& payload : {std::string("whois 192.0.47.59\r\n"), std::string("\r\n\r\nab\r\rc\n\r\n"),
                                    std::string("no breaks"), std::string()}) {
    const PayloadDocument document(payload);
    const std::string widget = asWidgetHoldsIt(payload);
    for (std::size_t byte = 0; byte < payload.size(); ++byte) {
      const std::size_t position = document.documentPosition(byte);
      ASSERT_LT(position, widget.size()) << byte;
      if (payload[byte] != '\r' && payload[byte] != '\n') {
        ASSERT_EQ(widget[position], payload[byte]) << byte;
        ASSERT_EQ(document.bytePosition(position), byte);
      }
    }
    // The end of the text maps to the end of the payload.
    EXPECT_EQ(document.documentPosition(payload.size()), widget.size());
    EXPECT_EQ(document.bytePosition(widget.size()), payload.size());
  }
  // A selection over a CR LF takes both of its bytes.
  const PayloadDocument query("ab\r\ncd");
  EXPECT_EQ(query.documentPosition(3), 2U);
  EXPECT_EQ(query.bytePosition(2), 2U);
  EXPECT_EQ(query.bytePosition(3), 4U);
}

}  // namespace
}  // namespace qv
