#include <gtest/gtest.h>

#include <string>

#include "filter/criteria_validation.h"

namespace qv {
namespace {

struct Case {
  std::string FilterCriteria::*field;
  const char* text;
  const char* message;  // nullptr: valid
};

constexpr auto kTime = &FilterCriteria::time;
constexpr auto kRemoteIp = &FilterCriteria::remoteIp;
constexpr auto kLocalIp = &FilterCriteria::localIp;
constexpr auto kRemotePort = &FilterCriteria::remotePort;
constexpr auto kLocalPort = &FilterCriteria::localPort;

TEST(QuickFilterValidation, MessagesOfEachField) {
  const Case cases[] = {
      {kTime, "9999", nullptr},
      {kTime, "!9999", nullptr},
      {kTime, "!1234-1234", nullptr},
      {kTime, "-", nullptr},
      {kTime, "!", nullptr},
      {kTime, "12345", "Invalid Data : Time : Number"},
      {kTime, "12345-1", "Invalid Data : Time : Number"},
      {kTime, "1-12345", "Invalid Data : Time : Number"},
      {kTime, "1-2-3", "Invalid Data : Time : Multiple '-'"},
      {kTime, "1a", "Invalid Data : Time : Invalid Letter \"a\""},
      {kTime, "1!", "Invalid Data : Time : Invalid Letter \"!\""},
      // Time is checked in one pass, so the first fault decides ...
      {kTime, "1-2-a", "Invalid Data : Time : Multiple '-'"},
      {kTime, "123456x", "Invalid Data : Time : Invalid Letter \"x\""},
      // ... while a port's letters are all checked before its '-' rules.
      {kRemotePort, "1-2-a", "Invalid Data : RemotePort : Invalid Letter \"a\""},
      {kRemoteIp, "!192.168.", nullptr},
      {kRemoteIp, "999.1", nullptr},  // octet ranges are not checked
      {kRemoteIp, "10.0.0.!", "Invalid Data : Remote IP : Invalid Letter \"!\""},
      {kLocalIp, "10,0", "Invalid Data : Local IP : Invalid Letter \",\""},
      {kRemotePort, "!80", nullptr},
      {kRemotePort, "99999", nullptr},         // a single number has no digit limit ...
      {kRemotePort, "000000000080", nullptr},  // ... and no range check
      {kRemotePort, "1024-", nullptr},
      {kRemotePort, "-1023", nullptr},
      {kRemotePort, "-", nullptr},
      {kRemotePort, "08-8", nullptr},
      {kRemotePort, "8o", "Invalid Data : RemotePort : Invalid Letter \"o\""},
      {kRemotePort, "80!", "Invalid Data : RemotePort : Invalid Letter \"!\""},
      {kRemotePort, "1-2-3", "Invalid Data : RemotePort : Multiple '-'"},
      {kRemotePort, "70000-", "Invalid Data : RemotePort : Max < Min"},  // an empty high part is 65535
      {kRemotePort, "9-8", "Invalid Data : RemotePort : Max < Min"},
      {kRemotePort, "1-70000", "Invalid Data : RemotePort : Max > 65535"},
      {kRemotePort, "123456-1", "Invalid Data : RemotePort : Number"},
      {kRemotePort, "1-123456", "Invalid Data : RemotePort : Number"},
      {kRemotePort, "!12345-1", "Invalid Data : RemotePort : Max < Min"},  // '!' allows a sixth character
      {kRemotePort, "!123456-1", "Invalid Data : RemotePort : Number"},
      {kLocalPort, "1-70000", "Invalid Data : LocalPort : Max > 65535"},
      {&FilterCriteria::applicationName, "!/\"any\" text", nullptr},
      {&FilterCriteria::ruleName, "?*", nullptr},
  };
  for (const Case& c : cases) {
    FilterCriteria criteria;
    criteria.*c.field = c.text;
    const auto message = validateCriteria(criteria);
    if (c.message == nullptr) {
      EXPECT_EQ(message, std::nullopt) << c.text;
    } else {
      EXPECT_EQ(message, c.message) << c.text;
    }
  }
}

TEST(QuickFilterValidation, FirstInvalidFieldInOrderIsReported) {
  FilterCriteria criteria;
  const std::pair<std::string FilterCriteria::*, const char*> backwards[] = {
      {kLocalPort, "Invalid Data : LocalPort : Invalid Letter \"x\""},
      {kRemotePort, "Invalid Data : RemotePort : Invalid Letter \"x\""},
      {kLocalIp, "Invalid Data : Local IP : Invalid Letter \"x\""},
      {kRemoteIp, "Invalid Data : Remote IP : Invalid Letter \"x\""},
      {kTime, "Invalid Data : Time : Invalid Letter \"x\""},
  };
  for (const auto& [field, message] : backwards) {
    criteria.*field = "x";
    EXPECT_EQ(validateCriteria(criteria), message);
  }
}

}  // namespace
}  // namespace qv
