#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "filter/filter_criteria.h"
#include "logdata/packet_record.h"
#include "logdata/traffic_record.h"

namespace qv {

// The quick filter prepared for one run: the fields are taken apart once so
// that each record costs only the tests it needs, cheap flag tests first and
// the first failing rule ending the check.
class QuickFilter {
 public:
  // criteria should have passed validateCriteria; window is the one computed
  // for its Time field and is not used when that field is empty.
  QuickFilter(const FilterCriteria& criteria, const TimeWindow& window);

  bool passes(const TrafficRecord& record) const noexcept;
  // Packets have no rule name; their protocol is the name taken from the frame.
  bool passes(const PacketRecord& record) const noexcept;

 private:
  // A text field: inactive when empty; negated when it starts with its negation prefix.
  struct TextCondition {
    bool active = false;
    bool negated = false;
    std::string text;
  };
  // A port field turned into the answer for every port number.
  struct PortCondition {
    bool active = false;
    std::vector<bool> passes;  // indexed by port, 65536 entries when active
  };

  static TextCondition textCondition(std::string_view field, std::string_view negation);
  static PortCondition portCondition(std::string_view field);

  bool passesCheckBoxes(std::uint8_t flags) const noexcept;
  // The time, address, port and application tests both logs share.
  template <class Record>
  bool passesCommonFields(const Record& record) const;
  bool passesTime(std::string_view time) const noexcept;

  bool allow_ = true;
  bool block_ = true;
  bool in_ = true;
  bool out_ = true;
  bool tcp_ = true;
  bool udp_ = true;
  bool icmp_ = true;
  bool allActions_ = true;
  bool allDirections_ = true;
  bool allProtocols_ = true;

  bool timeActive_ = false;
  bool timeNegated_ = false;
  TimeWindow window_;

  TextCondition remoteIp_;
  TextCondition localIp_;
  PortCondition remotePort_;
  PortCondition localPort_;
  TextCondition applicationName_;
  TextCondition ruleName_;
};

}  // namespace qv
