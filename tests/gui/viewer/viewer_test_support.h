#pragma once

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "decode/decoder_test_support.h"
#include "gui/viewer/packet_viewer.h"
#include "logdata/traffic_record.h"
#include "views/packet_shown_list.h"

namespace qv::test {

// The packets of a bundled capture as the packet log would hold them: the
// private address is the local end, the time text counts the frames.
inline std::vector<PacketRecord> capturedPackets(std::string_view name) {
  std::vector<PacketRecord> packets;
  int number = 0;
  for (const CapturedFrame& frame : readPcapFile(sharedPcapPath(name))) {
    PacketRecord record = recordFromFrame(frame.bytes);
    if (frame.bytes.size() >= 34) {
      const auto dotted = [&](std::size_t at) {
        char text[16];
        std::snprintf(text, sizeof text, "%u.%u.%u.%u", frame.bytes[at], frame.bytes[at + 1], frame.bytes[at + 2],
                      frame.bytes[at + 3]);
        return std::string(text);
      };
      const bool sourceIsLocal = frame.bytes[26] == 10 || (frame.bytes[26] == 192 && frame.bytes[27] == 168);
      record.localIp = dotted(sourceIsLocal ? 26 : 30);
      record.remoteIp = dotted(sourceIsLocal ? 30 : 26);
      if (!sourceIsLocal) std::swap(record.localPort, record.remotePort);
      record.flags = static_cast<std::uint8_t>(RecordFlag::kAllowed |
                                               (sourceIsLocal ? RecordFlag::kOutgoing : RecordFlag::kIncoming));
    }
    char time[32];
    std::snprintf(time, sizeof time, "2026/12/07 13:%02d:%02d.%03d", number / 60 % 60, number % 60, number % 1000);
    record.time = std::string(time);
    packets.push_back(std::move(record));
    ++number;
  }
  return packets;
}

inline PacketShownList shownListOf(std::vector<PacketRecord> records) {
  std::vector<RecordIndex> order(records.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<RecordIndex>(i);
  return PacketShownList(std::make_shared<const std::vector<PacketRecord>>(std::move(records)), std::move(order));
}

// While it lives, hands every modal window that opens (a message box or the
// search dialog) to `handle`, which is to close it.
class ModalHandler {
 public:
  explicit ModalHandler(std::function<void(QWidget*)> handle) : handle_(std::move(handle)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || modal == handled_) return;
      handled_ = modal;
      handle_(modal);
    });
    timer_.start();
  }

 private:
  std::function<void(QWidget*)> handle_;
  QTimer timer_;
  QPointer<QWidget> handled_;
};

// The parts of a viewer a user looks at.
struct ViewerParts {
  explicit ViewerParts(gui::PacketViewer& viewer)
      : counter(viewer.findChild<QLabel*>("counterLabel")),
        offset(viewer.findChild<QLabel*>("offsetLabel")),
        first(viewer.findChild<QToolButton*>("firstButton")),
        previous(viewer.findChild<QToolButton*>("previousButton")),
        next(viewer.findChild<QToolButton*>("nextButton")),
        last(viewer.findChild<QToolButton*>("lastButton")),
        search(viewer.findChild<QToolButton*>("searchButton")),
        tree(viewer.findChild<QTreeWidget*>("decodeTree")),
        hex(viewer.findChild<QPlainTextEdit*>("hexPane")),
        payload(viewer.findChild<QPlainTextEdit*>("payloadPane")) {}

  // The first item (display order) whose label starts with `prefix`.
  QTreeWidgetItem* item(const QString& prefix, QTreeWidgetItem* under = nullptr) const {
    QTreeWidgetItemIterator it = under ? QTreeWidgetItemIterator(under) : QTreeWidgetItemIterator(tree);
    for (; *it; ++it) {
      if ((*it)->text(0).startsWith(prefix)) return *it;
    }
    return nullptr;
  }

  QStringList expandedLabels() const {
    QStringList labels;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
      if ((*it)->isExpanded()) labels << (*it)->text(0);
    }
    return labels;
  }

  QLabel* counter;
  QLabel* offset;
  QToolButton* first;
  QToolButton* previous;
  QToolButton* next;
  QToolButton* last;
  QToolButton* search;
  QTreeWidget* tree;
  QPlainTextEdit* hex;
  QPlainTextEdit* payload;
};

}  // namespace qv::test
