#pragma once

#include <QObject>
#include <QPointer>

#include <optional>
#include <span>

#include "gui/settings/file_dialog_ex.h"
#include "gui/viewer/packet_viewer.h"
#include "gui/viewer/search_dialog.h"
#include "views/conversation.h"
#include "views/packet_shown_list.h"
#include "views/row_index.h"

namespace qv::settings {
class SettingsStore;
}

namespace qv::gui {

// The one packet viewer a packet list may have open. Opening replaces the
// open viewer, a refresh of the list closes it, and the slot forgets a
// viewer the user closed.
class PacketViewerSlot : public QObject {
  Q_OBJECT

 public:
  // `owner` is the packet list; its window becomes the viewers' parent.
  // `settings` must outlive every viewer opened here.
  PacketViewerSlot(QWidget* owner, settings::SettingsStore& settings, FileChooser chooseFile);
  ~PacketViewerSlot() override;

  // The open viewer, or none.
  PacketViewer* viewer() const { return viewer_; }

  // One selected row: its conversation, on that row. Several: exactly those
  // rows, the highest first. None: nothing happens and nothing is returned.
  PacketViewer* openOnSelection(const PacketShownList& shown, std::span<const RowIndex> selectedRows);
  PacketViewer* openOnConversation(const PacketShownList& shown, RowIndex row);
  PacketViewer* open(ViewerPackets packets);

  // "Search in Packets" of the list: asks for the pattern (remembered in
  // `last`), searches from the row after `selectedRow`, and opens the
  // viewer on the found row's conversation with the found bytes selected.
  // The found row, to be selected in the list; nothing when there is none.
  std::optional<RowIndex> searchInPackets(const PacketShownList& shown, std::optional<RowIndex> selectedRow,
                                          SearchRequest& last);

  // Closes the open viewer (the list was refreshed).
  void close();

 private:
  QWidget* owner_;
  settings::SettingsStore& settings_;
  FileChooser chooseFile_;
  QPointer<PacketViewer> viewer_;
};

}  // namespace qv::gui
