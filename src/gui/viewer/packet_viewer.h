#pragma once

#include <QDialog>
#include <QRect>

#include <cstddef>
#include <vector>

#include "decode/decode_result.h"
#include "decode/packet_decoder.h"
#include "gui/settings/file_dialog_ex.h"
#include "gui/viewer/search_dialog.h"
#include "logdata/packet_record.h"
#include "viewer/expansion_list.h"
#include "viewer/hex_selection.h"
#include "viewer/payload_document.h"
#include "viewer/viewer_navigation.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace qv::settings {
class SettingsStore;
}

namespace qv::gui {

class RatioSplitter;

// "Packet Viewer": one captured packet at a time out of its own copies of the
// packets it was opened on, as a decode tree, the frame in hex and the
// payload as text. Modeless; deletes itself when closed, and stores its
// geometry and splitter share in `settings` then (which must outlive it).
class PacketViewer : public QDialog {
  Q_OBJECT

 public:
  // `packets` must not be empty; a start index beyond it shows the last one.
  PacketViewer(std::vector<PacketRecord> packets, std::size_t startIndex, settings::SettingsStore& settings,
               FileChooser chooseFile, QWidget* parent = nullptr);
  ~PacketViewer() override;

  std::size_t currentIndex() const noexcept { return navigation_.index(); }
  std::size_t packetCount() const noexcept { return packets_.size(); }

  // Selects the frame bytes [offset, offset + count) in the hex pane, and in
  // the payload pane when they start there, as a search hit shows them.
  void selectBytes(FrameOffset offset, std::size_t count);

  // The commands of the buttons and the tree's menu.
  void goFirst();
  void goPrevious();
  void goNext();
  void goLast();
  void searchInPackets();
  void saveNodeToFile();

 signals:
  // Sent from the destructor: the creator forgets the viewer.
  void viewerDestroyed(PacketViewer* viewer);

 protected:
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void buildWindow();
  void restoreGeometry(settings::SettingsStore& settings);
  void storeSettings();
  void trackNormalGeometry();

  // Shows the packet at the navigation's index; keeps the tree's expansion
  // as the user left it unless this is the first packet shown.
  void showCurrentPacket(bool keepTreeView);
  void fillTree(const TreeExpansion& expansion);
  TreeExpansion currentExpansion() const;
  void afterMove(std::optional<std::size_t> moved);

  void onTreeSelectionChanged();
  void onHexSelectionChanged();
  void onPayloadSelectionChanged();
  void selectInHexPane(HexSelection selection);
  void refreshOffsetText();
  void showTreeMenu(const QPoint& position);
  void copyNodeLabel();
  void copyNodeBytes();
  std::optional<NodeId> currentNode() const;
  std::span<const std::uint8_t> currentFrame() const;

  std::vector<PacketRecord> packets_;
  ViewerNavigation navigation_;
  settings::SettingsStore& settings_;
  FileChooser chooseFile_;
  PacketDecoder decoder_;
  DecodeResult shown_;
  PayloadDocument payloadDocument_;
  SearchRequest lastSearch_;
  // Set while one pane's selection is being copied into another, so that the
  // copy does not travel back.
  bool linking_ = false;
  bool initialized_ = false;
  QRect normalGeometry_;
  bool maximized_ = false;

  QLabel* iconLabel_ = nullptr;
  QLabel* timeLabel_ = nullptr;
  QLabel* counterLabel_ = nullptr;
  QLabel* offsetLabel_ = nullptr;
  QToolButton* searchButton_ = nullptr;
  QToolButton* firstButton_ = nullptr;
  QToolButton* previousButton_ = nullptr;
  QToolButton* nextButton_ = nullptr;
  QToolButton* lastButton_ = nullptr;
  QTreeWidget* tree_ = nullptr;
  QPlainTextEdit* hexPane_ = nullptr;
  QPlainTextEdit* payloadPane_ = nullptr;
  RatioSplitter* splitter_ = nullptr;
  QAction* saveAction_ = nullptr;
  QAction* copyAction_ = nullptr;
  QAction* copyHexAction_ = nullptr;
  QAction* expandAllAction_ = nullptr;
  QAction* collapseAllAction_ = nullptr;
};

}  // namespace qv::gui
