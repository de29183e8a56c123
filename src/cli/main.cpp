#include <iostream>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/exit_codes.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: qvlog COMMAND [ARGUMENTS]\n"
    "Reads the traffic and packet logs of the personal firewall.\n"
    "\n"
    "Commands:\n"
    "  traffic FILE [CRITERIA] [--filter-list LST] [--analyze] [--sort COL]... [--now TIME] [--count] [--export OUT]\n"
    "          [--format tsv|csv|json]\n"
    "  packets FILE [CRITERIA] [--sort COL]... [--now TIME] [--count] [--export OUT]\n"
    "          [--format tsv|csv|json]\n"
    "  stats   FILE [CRITERIA] [--filter-list LST] [--now TIME]\n"
    "  decode  FILE --index N [--hex] [--payload]\n"
    "  vendor  XX-XX-XX\n"
    "  import-pcap CAPTURE.pcap OUT.log [--local-net CIDR]... [--action allowed|blocked]\n"
    "  export-pcap FILE OUT.pcap [CRITERIA]\n"
    "  whois   [ADDRESS] [--server NAME=HOST[:PORT]]... [--timeout SECONDS] [--trace]\n"
    "\n"
    "CRITERIA: --time HOURS --remote-ip S --remote-port S --local-ip S --local-port S\n"
    "          --app S --rule S (traffic only), --no-allow --no-block --no-in --no-out\n"
    "          --no-tcp --no-udp --no-icmp\n"
    "TIME is local time written as \"YYYY/MM/DD HH:MM:SS\" (--now fixes the clock of --time).\n"
    "--count prints only the count line. An option's value is the next argument or follows\n"
    "'='; a value may begin with '-' (--time -5); \"--\" ends the options.\n"
    "whois asks the registries' whois servers who holds ADDRESS (ARIN first, then the\n"
    "    registry its answer refers to) and prints the last answer. NAME is one of arin,\n"
    "    apnic, lacnic, ripe, ipv6 (PORT defaults to 43); --timeout bounds each wait for\n"
    "    data (15 s by default); --trace writes \"query NAME TEXT\" to stderr per query.\n"
    "    A failure or a bound writes its reason to stderr and exits with 1.\n"
    "--format prints the rows as tab-separated text (the default, then the count line),\n"
    "    CSV with a header row, or JSON Lines; CSV and JSON are UTF-8 without the count line.\n"
    "COL is a column's index (0 = Time) or its header title in any case, e.g. \"Remote IP\";\n"
    "    each --sort is one click on that header (a second click on it reverses the order).\n"
    "export-pcap writes the shown packets oldest first, as the firewall wrote them, or in\n"
    "    the order its --sort COL... gives.\n"
#ifndef QV_HAVE_CAPTURE
    "import-pcap and export-pcap are not in this build: it was made without libpcap.\n"
#endif
    "\n"
    "  qvlog --help      this text\n"
    "  qvlog --version   the version\n";

struct Command {
  std::string_view name;
  int (*run)(qv::cli::Arguments, std::ostream&, std::ostream&);
};

constexpr Command kCommands[] = {
    {"traffic", qv::cli::runTraffic},         {"packets", qv::cli::runPackets},
    {"stats", qv::cli::runStats},             {"decode", qv::cli::runDecode},
    {"vendor", qv::cli::runVendor},           {"import-pcap", qv::cli::runImportPcap},
    {"export-pcap", qv::cli::runExportPcap},  {"whois", qv::cli::runWhois},
};

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The listings are data for pipes and files (TSV, CSV, JSON Lines): the
  // same bytes as on every other system, line ends included, rather than the
  // C runtime's CR LF translation.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  std::ios::sync_with_stdio(false);
  std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << kUsage;
    return qv::cli::kUsageExit;
  }
  const std::string_view name = args.front();
  if (name == "--help" || name == "-h" || name == "help") {
    std::cout << kUsage;
    return qv::cli::kSuccessExit;
  }
  if (name == "--version") {
    std::cout << "qvlog " QV_VERSION "\n";
    return qv::cli::kSuccessExit;
  }
  for (const Command& command : kCommands) {
    if (command.name == name) {
      const int code = command.run(qv::cli::Arguments(args).subspan(1), std::cout, std::cerr);
      std::cout.flush();
      return code;
    }
  }
  std::cerr << "qvlog: unknown command '" << name << "' (see qvlog --help)\n";
  return qv::cli::kUsageExit;
}
