#include "logdata/log_export.h"

#include <array>
#include <cstddef>

#include "logdata/log_header.h"
#include "logdata/number_text.h"
#include "logdata/time_text.h"
#include "platform/atomic_file.h"
#include "platform/system_error.h"

namespace qv {

namespace {

constexpr std::size_t kLengthFieldSize = 9;  // 8 digits and TAB
constexpr std::size_t kWriteChunkSize = 1 << 20;

void appendHex8(std::string& out, std::uint32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  char digits[8];
  for (int i = 7; i >= 0; --i) {
    digits[i] = kDigits[value & 0xF];
    value >>= 4;
  }
  out.append(digits, sizeof digits);
}

void appendHex8Field(std::string& out, std::uint32_t value) {
  appendHex8(out, value);
  out.push_back('\t');
}

void appendField(std::string& out, std::string_view text) {
  out.append(text);
  out.push_back('\t');
}

// Converting a time text back asks the system for the local time, the slow
// part of an export; a record's three times and its neighbours' repeat often.
class TimeDigitsMemo {
 public:
  const std::string& digitsOf(std::string_view text) {
    for (const Entry& entry : entries_) {
      if (entry.used && entry.text == text) return entry.digits;
    }
    Entry& entry = entries_[next_];
    next_ = (next_ + 1) % entries_.size();
    entry.used = true;
    entry.text.assign(text);
    entry.digits = timeDigits(text);
    return entry.digits;
  }

 private:
  struct Entry {
    bool used = false;
    std::string text;
    std::string digits;
  };
  std::array<Entry, 4> entries_{};
  std::size_t next_ = 0;
};

std::string_view protocolField(std::uint8_t flags) {
  if ((flags & RecordFlag::kTcp) != 0) return "0000012D\t";
  if ((flags & RecordFlag::kUdp) != 0) return "0000012E\t";
  if ((flags & RecordFlag::kIcmp) != 0) return "00000132\t";
  return "00000000\t";
}

std::string_view directionField(std::uint8_t flags) {
  if ((flags & RecordFlag::kIncoming) != 0) return "00000001\t";
  if ((flags & RecordFlag::kOutgoing) != 0) return "00000002\t";
  return "00000000\t";
}

std::string_view actionField(std::uint8_t flags) {
  if ((flags & RecordFlag::kAllowed) != 0) return "00000000\t";
  if ((flags & RecordFlag::kBlocked) != 0) return "00000001\t";
  return "00000002\t";
}

void appendTrafficRecordText(std::string& out, const TrafficRecord& record, TimeDigitsMemo& times) {
  const std::size_t start = out.size();
  out.append(kLengthFieldSize, '\0');  // filled in once the body's length is known
  appendField(out, times.digitsOf(record.time.text()));
  out.append(protocolField(record.flags));
  appendField(out, storedAddress(record.localIp.text()));
  appendField(out, storedAddress(record.remoteIp.text()));
  appendHex8Field(out, record.localPort);
  appendHex8Field(out, record.remotePort);
  out.append(directionField(record.flags));
  appendField(out, times.digitsOf(record.beginTime.text()));
  appendField(out, times.digitsOf(record.endTime.text()));
  appendHex8Field(out, record.occurrences);
  out.append(actionField(record.flags));
  out.append("00000000\t00000000\t00000000000000000000000000000000\t");
  appendField(out, record.nameAddress);
  appendField(out, record.ruleName);
  appendField(out, record.applicationName);

  const std::size_t bodyLength = out.size() - start - kLengthFieldSize;
  std::string lengthField;
  appendHex8Field(lengthField, static_cast<std::uint32_t>(bodyLength + kLengthFieldSize + kTrafficRecordTrailer.size()));
  out.replace(start, kLengthFieldSize, lengthField);
}

void appendPacketRecord(std::string& out, const PacketRecord& record) {
  const std::span<const std::uint8_t> bytes = record.recordBytes();
  out.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Feeds the export's bytes to a sink in display-order-reversed record order.
// Sink: bool(std::string& pending), called whenever the pending bytes grow
// past the chunk size and once at the end; it empties `pending`.
template <class Rows, class AppendRecord, class Sink>
bool produceExport(const Rows& selected, std::string_view tag, AppendRecord appendRecord,
                   std::string_view tail, Sink sink) {
  std::string pending = logHeaderLine(tag, static_cast<std::uint32_t>(selected.size()), 0);
  for (std::size_t i = selected.size(); i-- > 0;) {
    appendRecord(pending, selected[i]);
    if (pending.size() >= kWriteChunkSize && !sink(pending)) return false;
  }
  pending.append(tail);
  return sink(pending);
}

std::string failureMessage(std::string_view what, int errorNumber) {
  return std::string(what) + " : " + platform::systemErrorText(errorNumber);
}

template <class Rows, class AppendRecord>
ExportResult exportToFile(const Rows& selected, const std::string& path, std::string_view tag,
                          AppendRecord appendRecord, std::string_view tail) {
  if (selected.empty()) return {ExportStatus::kNothingSelected, std::string(kExportNothingSelected)};
  // The old file stays whole until the new one is: an export that fails
  // half way must not cost the user the file they chose to overwrite.
  platform::AtomicFileWriter file(path);
  if (file.isOpen()) {
    produceExport(selected, tag, appendRecord, tail, [&file](std::string& pending) {
      const bool ok = file.write(pending);
      pending.clear();
      return ok;
    });
  }
  const platform::FileWriteResult written = file.commit();
  if (written.openFailed) return {ExportStatus::kOpenFailed, failureMessage(kExportOpenError, written.errorNumber)};
  if (!written.ok()) return {ExportStatus::kWriteFailed, failureMessage(kExportWriteError, written.errorNumber)};
  return {};
}

template <class Rows, class AppendRecord>
std::string exportImage(const Rows& selected, std::string_view tag, AppendRecord appendRecord,
                        std::string_view tail) {
  std::string image;
  produceExport(selected, tag, appendRecord, tail, [&image](std::string& pending) {
    image.append(pending);
    pending.clear();
    return true;
  });
  return image;
}

auto trafficAppender() {
  return [times = TimeDigitsMemo()](std::string& out, const TrafficRecord& record) mutable {
    appendTrafficRecordText(out, record, times);
    out.append(kTrafficRecordTrailer);
  };
}

}  // namespace

std::string trafficRecordText(const TrafficRecord& record) {
  std::string text;
  appendTrafficRecordText(text, record);
  return text;
}

void appendTrafficRecordText(std::string& out, const TrafficRecord& record) {
  TimeDigitsMemo times;
  appendTrafficRecordText(out, record, times);
}

std::string trafficExportImage(TrafficRows selected) {
  return exportImage(selected, kTrafficExportTag, trafficAppender(), "\n");
}

std::string packetExportImage(std::span<const PacketRecord> selected) {
  return exportImage(selected, kPacketExportTag, appendPacketRecord, "");
}

ExportResult exportTrafficSelection(TrafficRows selected, const std::string& path) {
  return exportToFile(selected, path, kTrafficExportTag, trafficAppender(), "\n");
}

ExportResult exportPacketSelection(std::span<const PacketRecord> selected, const std::string& path) {
  return exportToFile(selected, path, kPacketExportTag, appendPacketRecord, "");
}

}  // namespace qv
