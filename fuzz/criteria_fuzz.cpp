// Feeds arbitrary texts to the quick filter's field checks. Fields are taken
// from the input split at 0xFF bytes. A '!' in front of a field that has
// none must not change whether it is valid, nor its time window; valid
// criteria must give a window of local time texts (a reversed range such as
// 10-1 gives an empty window: it is not refused) and a filter that runs.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "filter/criteria_validation.h"
#include "filter/filter_criteria.h"
#include "filter/quick_filter.h"
#include "filter/time_window.h"
#include "logdata/traffic_record.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// 2024-06-01 12:00:00 UTC: a fixed moment keeps every run repeatable.
constexpr std::int64_t kNow = 1717243200;

bool isLocalTimeText(std::string_view text) {
  if (text.size() != 19) return false;
  static constexpr std::string_view kShape = "dddd/dd/dd dd:dd:dd";
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (kShape[i] == 'd' ? (text[i] < '0' || text[i] > '9') : text[i] != kShape[i]) return false;
  }
  return true;
}

std::string negated(const std::string& field) { return field.empty() || field.front() == '!' ? field : "!" + field; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  qv::FilterCriteria criteria;
  std::string* const fields[] = {&criteria.time,      &criteria.remoteIp,        &criteria.localIp,
                                 &criteria.remotePort, &criteria.localPort,      &criteria.applicationName,
                                 &criteria.ruleName};
  for (std::string* field : fields) {
    const std::size_t end = rest.find('\xFF');
    *field = std::string(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  if (size > 0) {
    criteria.allow = data[0] & 1;
    criteria.in = data[0] & 2;
    criteria.tcp = data[0] & 4;
  }

  const auto message = qv::validateCriteria(criteria);
  qv::FilterCriteria allNegated = criteria;
  for (std::string* field : {&allNegated.time, &allNegated.remoteIp, &allNegated.localIp, &allNegated.remotePort,
                             &allNegated.localPort}) {
    *field = negated(*field);
  }
  // The messages name the offending character, which may be the '!' itself
  // when a field already had one further in; only validity must agree.
  check(message.has_value() == qv::validateCriteria(allNegated).has_value());
  if (message) {
    check(message->starts_with("Invalid Data : "));
    return 0;
  }

  const qv::TimeWindow window = qv::computeTimeWindow(criteria.time, kNow);
  if (!criteria.time.empty()) {
    check(qv::computeTimeWindow(allNegated.time, kNow) == window);
    check(window.from.empty() || isLocalTimeText(window.from));
    check(window.to.empty() || isLocalTimeText(window.to));
  }

  const qv::QuickFilter filter(criteria, window);
  qv::TrafficRecord record;
  record.time = qv::Text("2024/06/01 11:30:00");
  record.remoteIp = qv::Text("10.0.0.5");
  record.localIp = qv::Text("192.168.0.2");
  record.remotePort = 1234;
  record.localPort = 80;
  record.applicationName = qv::Text("C:\\app.exe");
  record.ruleName = qv::Text("Block_all");
  record.flags = qv::RecordFlag::kTcp | qv::RecordFlag::kIncoming | qv::RecordFlag::kAllowed;
  (void)filter.passes(record);
  return 0;
}
