#pragma once

#include <pcap/pcap.h>

#include <memory>

namespace qv {

struct PcapCloser {
  void operator()(pcap_t* handle) const noexcept { pcap_close(handle); }
};
struct PcapDumperCloser {
  void operator()(pcap_dumper_t* dumper) const noexcept { pcap_dump_close(dumper); }
};

using PcapHandle = std::unique_ptr<pcap_t, PcapCloser>;
using PcapDumper = std::unique_ptr<pcap_dumper_t, PcapDumperCloser>;

}  // namespace qv
