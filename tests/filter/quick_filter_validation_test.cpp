#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "filter/criteria_validation.h"

namespace qv {
namespace {

struct FieldCase {
  std::string text;
  std::optional<std::string> message;
};

std::optional<std::string> timeMessage(const std::string& text) {
  FilterCriteria criteria;
  criteria.time = text;
  return validateCriteria(criteria);
}

TEST(QuickFilterValidation, TimeField) {
  const FieldCase cases[] = {
      {"24", std::nullopt},
      {"9999", std::nullopt},
      {"!9999", std::nullopt},
      {"2-5", std::nullopt},
      {"-", std::nullopt},
      {"!", std::nullopt},
      {"1234-1234", std::nullopt},
      {"!1234-1234", std::nullopt},
      {"12345", "Invalid Data : Time : Number"},
      {"!12345", "Invalid Data : Time : Number"},
      {"12345-1", "Invalid Data : Time : Number"},
      {"1-12345", "Invalid Data : Time : Number"},
      {"1-2-3", "Invalid Data : Time : Multiple '-'"},
      {"1a", "Invalid Data : Time : Invalid Letter \"a\""},
      {"1 ", "Invalid Data : Time : Invalid Letter \" \""},
      {"1!", "Invalid Data : Time : Invalid Letter \"!\""},
      {"!!1", "Invalid Data : Time : Invalid Letter \"!\""},
      // One pass over the characters: whichever fault comes first is reported.
      {"1-2-a", "Invalid Data : Time : Multiple '-'"},
      {"a-2-3", "Invalid Data : Time : Invalid Letter \"a\""},
      // Letters are checked before lengths.
      {"123456x", "Invalid Data : Time : Invalid Letter \"x\""},
  };
  for (const FieldCase& c : cases) EXPECT_EQ(timeMessage(c.text), c.message) << "Time " << c.text;
}

TEST(QuickFilterValidation, AddressFieldsTakeDigitsDotsAndALeadingBang) {
  FilterCriteria criteria;
  criteria.remoteIp = "!192.168.";
  criteria.localIp = "999.1";  // octet ranges are not checked
  EXPECT_EQ(validateCriteria(criteria), std::nullopt);

  criteria.localIp = "10,0";
  EXPECT_EQ(validateCriteria(criteria), "Invalid Data : Local IP : Invalid Letter \",\"");
  criteria.remoteIp = "10.0.0.!";
  EXPECT_EQ(validateCriteria(criteria), "Invalid Data : Remote IP : Invalid Letter \"!\"");
}

TEST(QuickFilterValidation, PortFields) {
  const FieldCase cases[] = {
      {"80", std::nullopt},
      {"!80", std::nullopt},
      {"99999", std::nullopt},         // a single number has no digit limit
      {"000000000080", std::nullopt},  // nor a range check
      {"1024-", std::nullopt},
      {"-1023", std::nullopt},
      {"!1-65535", std::nullopt},
      {"!12345-1", "Invalid Data : RemotePort : Max < Min"},  // '!' allows a sixth character before '-'
      {"12345-1", "Invalid Data : RemotePort : Max < Min"},
      {"80-80", std::nullopt},
      {"-", std::nullopt},
      {"70000-", "Invalid Data : RemotePort : Max < Min"},
      {"1-70000", "Invalid Data : RemotePort : Max > 65535"},
      {"123456-1", "Invalid Data : RemotePort : Number"},
      {"!123456-1", "Invalid Data : RemotePort : Number"},
      {"1-123456", "Invalid Data : RemotePort : Number"},
      {"1-2-3", "Invalid Data : RemotePort : Multiple '-'"},
      // Every character is checked before the '-' rules.
      {"1-2-a", "Invalid Data : RemotePort : Invalid Letter \"a\""},
      {"8o", "Invalid Data : RemotePort : Invalid Letter \"o\""},
      {"80!", "Invalid Data : RemotePort : Invalid Letter \"!\""},
      {"9-8", "Invalid Data : RemotePort : Max < Min"},
      {"08-8", std::nullopt},
  };
  for (const FieldCase& c : cases) {
    FilterCriteria criteria;
    criteria.remotePort = c.text;
    EXPECT_EQ(validateCriteria(criteria), c.message) << "Remote Port " << c.text;
  }
  FilterCriteria local;
  local.localPort = "1-70000";
  EXPECT_EQ(validateCriteria(local), "Invalid Data : LocalPort : Max > 65535");
}

TEST(QuickFilterValidation, FieldsAreCheckedInOrderAndNamesAreFree) {
  FilterCriteria criteria;
  criteria.applicationName = "!/any text \"at all\"";
  criteria.ruleName = "?*";
  EXPECT_EQ(validateCriteria(criteria), std::nullopt);

  criteria.localPort = "x";
  EXPECT_EQ(validateCriteria(criteria), "Invalid Data : LocalPort : Invalid Letter \"x\"");
  criteria.remotePort = "x";
  EXPECT_EQ(validateCriteria(criteria), "Invalid Data : RemotePort : Invalid Letter \"x\"");
  criteria.localIp = "x";
  EXPECT_EQ(validateCriteria(criteria), "Invalid Data : Local IP : Invalid Letter \"x\"");
  criteria.remoteIp = "x";
  EXPECT_EQ(validateCriteria(criteria), "Invalid Data : Remote IP : Invalid Letter \"x\"");
  criteria.time = "x";
  EXPECT_EQ(validateCriteria(criteria), "Invalid Data : Time : Invalid Letter \"x\"");
}

}  // namespace
}  // namespace qv
