#include "gui/viewer/packet_viewer_slot.h"

#include "views/packet_search.h"

namespace qv::gui {

PacketViewerSlot::PacketViewerSlot(QWidget* owner, settings::SettingsStore& settings, FileChooser chooseFile)
    : QObject(owner), owner_(owner), settings_(settings), chooseFile_(std::move(chooseFile)) {}

PacketViewerSlot::~PacketViewerSlot() { close(); }

PacketViewer* PacketViewerSlot::openOnSelection(const PacketShownList& shown, std::span<const RowIndex> selectedRows) {
  if (selectedRows.empty()) return nullptr;
  if (selectedRows.size() == 1) return openOnConversation(shown, selectedRows.front());
  return open(selectedPackets(shown, selectedRows));
}

PacketViewer* PacketViewerSlot::openOnConversation(const PacketShownList& shown, RowIndex row) {
  if (row >= shown.size()) return nullptr;
  return open(conversationOf(shown, row));
}

PacketViewer* PacketViewerSlot::open(ViewerPackets packets) {
  close();
  if (packets.packets.empty()) return nullptr;
  QWidget* parent = owner_ != nullptr ? owner_->window() : nullptr;
  viewer_ = new PacketViewer(std::move(packets.packets), packets.currentIndex, settings_, chooseFile_, parent);
  connect(viewer_, &PacketViewer::viewerDestroyed, this, [this](PacketViewer* gone) {
    if (viewer_ == gone) viewer_ = nullptr;
  });
  viewer_->show();
  return viewer_;
}

std::optional<RowIndex> PacketViewerSlot::searchInPackets(const PacketShownList& shown,
                                                          std::optional<RowIndex> selectedRow, SearchRequest& last) {
  const auto pattern = askSearchPattern(owner_, last);
  if (!pattern) return std::nullopt;
  const auto hit = searchPackets(shown, selectedRow, *pattern);
  if (!hit) return std::nullopt;
  if (PacketViewer* viewer = openOnConversation(shown, hit->row)) {
    viewer->selectBytes(static_cast<FrameOffset>(hit->frameOffset), pattern->size());
  }
  return hit->row;
}

void PacketViewerSlot::close() {
  // Deleted at once: a refresh replaces the records the viewer was opened on.
  delete viewer_.data();
  viewer_ = nullptr;
}

}  // namespace qv::gui
