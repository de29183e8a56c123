#include <charconv>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/read_report.h"
#include "decode/decode_result.h"
#include "decode/packet_decoder.h"
#include "logdata/log_file.h"
#include "logdata/log_messages.h"
#include "logdata/packet_log_reader.h"

namespace qv::cli {

namespace {

constexpr std::string_view kDecodeUsage = "Usage: qvlog decode FILE --index N [--hex] [--payload]\n";

struct DecodeOptions {
  std::string file;
  std::uint64_t index = 0;
  bool hex = false;
  bool payload = false;
};

std::optional<std::uint64_t> parseIndex(std::string_view text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Reads the arguments; on a mistake writes the reason and the usage to `err`.
std::optional<DecodeOptions> parseOptions(Arguments args, std::ostream& err) {
  DecodeOptions options;
  bool haveFile = false;
  bool haveIndex = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--hex") {
      options.hex = true;
    } else if (arg == "--payload") {
      options.payload = true;
    } else if (arg == "--index") {
      if (i + 1 >= args.size()) {
        err << "qvlog decode: --index needs a record number\n" << kDecodeUsage;
        return std::nullopt;
      }
      const auto index = parseIndex(args[++i]);
      if (!index) {
        err << "qvlog decode: '" << args[i] << "' is not a record number\n" << kDecodeUsage;
        return std::nullopt;
      }
      options.index = *index;
      haveIndex = true;
    } else if (arg.starts_with("--") || haveFile) {
      err << "qvlog decode: unexpected argument '" << arg << "'\n" << kDecodeUsage;
      return std::nullopt;
    } else {
      options.file = std::string(arg);
      haveFile = true;
    }
  }
  if (!haveFile || !haveIndex) {
    err << kDecodeUsage;
    return std::nullopt;
  }
  return options;
}

void writeTree(const DecodeTree& tree, std::ostream& out) {
  tree.forEachInOrder([&](NodeId id, unsigned depth) {
    const DecodeNode& node = tree.node(id);
    for (unsigned i = 0; i < depth; ++i) out << "  ";
    out << node.label << '\t' << node.span.start << '\t' << node.span.end << '\n';
  });
}

void writeHexPane(std::string_view text, std::ostream& out) {
  out << "hex:\n";
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out << text[i];
  }
  out << '\n';
}

void writePayload(std::string_view text, std::ostream& out) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out << "payload:\n";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte <= 0x7E) {
      out << c;
    } else {
      out << "\\x" << kDigits[byte >> 4] << kDigits[byte & 0x0F];
    }
  }
  out << '\n';
}

}  // namespace

int runDecode(Arguments args, std::ostream& out, std::ostream& err) {
  const auto options = parseOptions(args, err);
  if (!options) return kUsageExit;

  const FileReadResult file = readWholeFile(options->file);
  if (!file.opened) {
    err << kOpenErrorPrefix << " : " << file.errorText << '\n';
    return kFailureExit;
  }
  const PacketLog log = parsePacketLog(file.buffer);
  if (log.status == LogParseStatus::kInvalidFormat) {
    err << kInvalidFileFormat << '\n';
    return kFailureExit;
  }
  if (options->index >= log.records.size()) {
    err << "qvlog decode: record index " << options->index << " is outside the file's " << log.records.size()
        << (log.records.size() == 1 ? " record" : " records") << " (indexes start at 0)\n";
    return kFailureExit;
  }

  const DecodeResult result = PacketDecoder().decodePacket(log.records[options->index]);
  writeTree(result.tree, out);
  out << "payloadBase\t" << result.payloadBase << '\n';
  if (options->hex) writeHexPane(result.hexText, out);
  if (options->payload) writePayload(result.payloadText, out);
  return finishOutput("decode", out, err, kSuccessExit);
}

}  // namespace qv::cli
