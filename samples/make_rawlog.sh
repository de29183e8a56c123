#!/usr/bin/env bash
# Rebuilds samples/rawlog.log from real captures (see samples/README.md):
# DHCP with ICMP echo, an ICMP error quoting a header, and ARP; a TFTP
# transfer; IGMP queries and reports; a TCP whois exchange; UDP (NTP).
# Usage: samples/make_rawlog.sh [OUT]   (default: samples/rawlog.log)
# Needs a built qvlog (QVLOG, default build/bin/qvlog) and mergecap (comes
# with tshark); the captures are read from QV_PCAP_DIR.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
qvlog=${QVLOG:-$root/build/bin/qvlog}
pcaps=${QV_PCAP_DIR:-$root/../shared/data/pcap}
out=${1:-$root/samples/rawlog.log}
captures=(dhcp-rfc4388 tftp IGMP_V2 whois ntp)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One capture in time order, as the firewall would have logged the packets.
paths=()
for name in "${captures[@]}"; do paths+=("$pcaps/$name.pcap"); done
mergecap -F pcap -w "$work/sample.pcap" "${paths[@]}"

# The host of each capture: the DHCP server that also pings, the TFTP client
# (which is the IGMP querier as well), the whois client, the NTP client.
"$qvlog" import-pcap "$work/sample.pcap" "$out" \
  --local-net 10.40.2.3 --local-net 192.168.1.2 --local-net 10.0.2.15 --local-net 192.168.100.2
