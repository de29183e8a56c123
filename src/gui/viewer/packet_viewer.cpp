#include "gui/viewer/packet_viewer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QTextBlock>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

#include "decode/decode_context.h"
#include "gui/viewer/ratio_splitter.h"
#include "gui/views/ansi_text.h"
#include "gui/views/view_icons.h"
#include "logdata/traffic_record.h"
#include "platform/atomic_file.h"
#include "settings/packet_viewer_settings.h"
#include "viewer/hex_document.h"
#include "viewer/node_lookup.h"
#include "viewer/viewer_geometry.h"
#include "viewer/viewer_search.h"
#include "views/packet_search.h"
#include "views/traffic_columns.h"

namespace qv::gui {

namespace {

const QString kApplicationTitle = QStringLiteral("Quorvex Log Viewer");
constexpr int kNodeIdRole = Qt::UserRole;

// The Save to File dialog's choices.
const QString kSaveFilter = QStringLiteral(
    "All Files|*.*|Text Files|*.txt|HTML Files|*.htm*|"
    "Image Files|*.bmp;*fpx;*.gif;*.jpg;*.jpeg;*.pcd;*.pct;*.pcx;*.png;*.psd;*.tga;*.tif;*.wmfl|"
    "Document Files|*.rtf;*.doc;*.jtd;*jtt;*.mcw;*owk;*.wri;*.wpd;*.wps|"
    "Excel & 1-2-3|*.xls;*.xlt;*.xlw;*.123;*.wk*;*.wj*|Executable Program|*.exe||");

QIcon viewerIcon(const char* name) { return QIcon(QStringLiteral(":/viewer/icons/%1.svg").arg(QLatin1String(name))); }

// A text pane whose selection stays visible when it does not have the focus,
// in the palette's own highlight colours.
QPlainTextEdit* makeTextPane(QWidget* parent, const char* name) {
  auto* pane = new QPlainTextEdit(parent);
  pane->setObjectName(QLatin1String(name));
  pane->setReadOnly(true);
  pane->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  pane->setUndoRedoEnabled(false);
  QPalette palette = pane->palette();
  for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
    palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
  }
  pane->setPalette(palette);
  return pane;
}

QToolButton* makeButton(QWidget* parent, const char* name, const char* icon, const QString& tip) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setIcon(viewerIcon(icon));
  button->setToolTip(tip);
  button->setAutoRaise(false);
  return button;
}

settings::WindowRect windowRectOf(const QRect& rect) {
  return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

void selectRange(QPlainTextEdit* pane, std::size_t start, std::size_t end) {
  QTextCursor cursor = pane->textCursor();
  const int length = pane->document()->characterCount() - 1;
  cursor.setPosition(static_cast<int>(std::min<std::size_t>(start, static_cast<std::size_t>(length))));
  cursor.setPosition(static_cast<int>(std::min<std::size_t>(end, static_cast<std::size_t>(length))),
                     QTextCursor::KeepAnchor);
  pane->setTextCursor(cursor);
  pane->ensureCursorVisible();
}

}  // namespace

PacketViewer::PacketViewer(std::vector<PacketRecord> packets, std::size_t startIndex,
                           settings::SettingsStore& settings, FileChooser chooseFile, QWidget* parent)
    : QDialog(parent),
      packets_(packets.empty() ? std::vector<PacketRecord>{noDataPacketRecord()} : std::move(packets)),
      navigation_(packets_.size(), startIndex),
      settings_(settings),
      chooseFile_(std::move(chooseFile)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(tr("Packet Viewer"));
  setWindowIcon(viewerIcon("viewer"));
  setSizeGripEnabled(true);
  setMinimumSize(kViewerMinimumWidth, kViewerMinimumHeight);
  resize(kViewerMinimumWidth, kViewerMinimumHeight);
  buildWindow();
  showCurrentPacket(false);
  restoreGeometry(settings_);
  initialized_ = true;
}

PacketViewer::~PacketViewer() {
  storeSettings();
  emit viewerDestroyed(this);
}

void PacketViewer::buildWindow() {
  iconLabel_ = new QLabel(this);
  iconLabel_->setObjectName(QStringLiteral("iconLabel"));
  const int iconSide = style()->pixelMetric(QStyle::PM_LargeIconSize);
  iconLabel_->setFixedSize(iconSide, iconSide);

  timeLabel_ = new QLabel(this);
  timeLabel_->setObjectName(QStringLiteral("timeLabel"));
  timeLabel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  timeLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  timeLabel_->setMinimumWidth(timeLabel_->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00 00:00:00.000  ")));
  timeLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  searchButton_ = makeButton(this, "searchButton", "search", tr("Search in Packets"));
  firstButton_ = makeButton(this, "firstButton", "first", tr("First Packet"));
  previousButton_ = makeButton(this, "previousButton", "previous", tr("Previous Packet (Ctrl+Up)"));
  nextButton_ = makeButton(this, "nextButton", "next", tr("Next Packet (Ctrl+Down)"));
  lastButton_ = makeButton(this, "lastButton", "last", tr("Last Packet"));
  connect(searchButton_, &QToolButton::clicked, this, &PacketViewer::searchInPackets);
  connect(firstButton_, &QToolButton::clicked, this, &PacketViewer::goFirst);
  connect(previousButton_, &QToolButton::clicked, this, &PacketViewer::goPrevious);
  connect(nextButton_, &QToolButton::clicked, this, &PacketViewer::goNext);
  connect(lastButton_, &QToolButton::clicked, this, &PacketViewer::goLast);
  connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up), this), &QShortcut::activated, this,
          &PacketViewer::goPrevious);
  connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down), this), &QShortcut::activated, this,
          &PacketViewer::goNext);

  counterLabel_ = new QLabel(this);
  counterLabel_->setObjectName(QStringLiteral("counterLabel"));
  counterLabel_->setMinimumWidth(counterLabel_->fontMetrics().horizontalAdvance(QStringLiteral("0000000 / 0000000")));
  offsetLabel_ = new QLabel(QStringLiteral("0"), this);
  offsetLabel_->setObjectName(QStringLiteral("offsetLabel"));
  offsetLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  offsetLabel_->setMinimumWidth(offsetLabel_->fontMetrics().horizontalAdvance(QStringLiteral("00000 - 00000")));

  auto* topRow = new QHBoxLayout;
  topRow->addWidget(iconLabel_);
  topRow->addWidget(timeLabel_);
  topRow->addSpacing(4);
  for (QToolButton* button : {searchButton_, firstButton_, previousButton_, nextButton_, lastButton_}) {
    topRow->addWidget(button);
  }
  topRow->addSpacing(8);
  topRow->addWidget(counterLabel_);
  topRow->addStretch();
  topRow->addWidget(offsetLabel_);

  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QStringLiteral("decodeTree"));
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setRootIsDecorated(true);
  tree_->setUniformRowHeights(true);
  // Every step re-expands the tree; an animated expansion would lag behind.
  tree_->setAnimated(false);
  tree_->setDragEnabled(false);
  tree_->setContextMenuPolicy(Qt::CustomContextMenu);
  tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  tree_->header()->setStretchLastSection(false);
  connect(tree_, &QTreeWidget::itemSelectionChanged, this, &PacketViewer::onTreeSelectionChanged);
  connect(tree_, &QTreeWidget::customContextMenuRequested, this, &PacketViewer::showTreeMenu);

  hexPane_ = makeTextPane(this, "hexPane");
  hexPane_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  hexPane_->setLineWrapMode(QPlainTextEdit::NoWrap);
  hexPane_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // 48 characters of a line, and room for the frame and the scroll bar.
  const int hexWidth = hexPane_->fontMetrics().horizontalAdvance(QString(49, QLatin1Char('0'))) +
                       style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * hexPane_->frameWidth() +
                       static_cast<int>(2 * hexPane_->document()->documentMargin());
  hexPane_->setFixedWidth(hexWidth);
  connect(hexPane_, &QPlainTextEdit::selectionChanged, this, &PacketViewer::onHexSelectionChanged);
  connect(hexPane_, &QPlainTextEdit::cursorPositionChanged, this, &PacketViewer::onHexSelectionChanged);

  payloadPane_ = makeTextPane(this, "payloadPane");
  payloadPane_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(payloadPane_, &QPlainTextEdit::selectionChanged, this, &PacketViewer::onPayloadSelectionChanged);
  connect(payloadPane_, &QPlainTextEdit::cursorPositionChanged, this, &PacketViewer::onPayloadSelectionChanged);

  auto* upper = new QWidget(this);
  // The splitter's own limits (a tenth of the height either way) decide how
  // small a side may get, not the panes' preferred sizes.
  upper->setMinimumHeight(1);
  payloadPane_->setMinimumHeight(1);
  auto* upperRow = new QHBoxLayout(upper);
  upperRow->setContentsMargins(0, 0, 0, 0);
  upperRow->setSpacing(2);
  upperRow->addWidget(tree_, 1);
  upperRow->addWidget(hexPane_);

  splitter_ = new RatioSplitter(kDefaultSplitterRatio, this);
  splitter_->setObjectName(QStringLiteral("paneSplitter"));
  splitter_->addWidget(upper);
  splitter_->addWidget(payloadPane_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(topRow);
  layout->addWidget(splitter_, 1);

  const auto addTreeAction = [this](const QString& text, const char* name, void (PacketViewer::*command)()) {
    auto* action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, command);
    return action;
  };
  saveAction_ = addTreeAction(tr("&Save to File"), "saveToFileAction", &PacketViewer::saveNodeToFile);
  copyAction_ = addTreeAction(tr("Copy"), "copyAction", &PacketViewer::copyNodeLabel);
  copyHexAction_ = addTreeAction(tr("Copy Bytes as Hex"), "copyBytesAsHexAction", &PacketViewer::copyNodeBytes);
  expandAllAction_ = new QAction(tr("Expand All"), this);
  expandAllAction_->setObjectName(QStringLiteral("expandAllAction"));
  connect(expandAllAction_, &QAction::triggered, tree_, &QTreeWidget::expandAll);
  collapseAllAction_ = new QAction(tr("Collapse All"), this);
  collapseAllAction_->setObjectName(QStringLiteral("collapseAllAction"));
  connect(collapseAllAction_, &QAction::triggered, tree_, &QTreeWidget::collapseAll);
}

void PacketViewer::restoreGeometry(settings::SettingsStore& settings) {
  normalGeometry_ = QRect(pos(), size());
  const auto stored = settings::readPacketViewerSettings(settings);
  if (!stored) {
    splitter_->setRatio(kDefaultSplitterRatio);
    return;
  }
  splitter_->setRatio(stored->splitterRatio.value_or(kDefaultSplitterRatio));
  if (stored->rect) {
    std::vector<settings::WindowRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens.push_back(windowRectOf(screen->availableGeometry()));
    const settings::WindowRect rect = keepOnScreens(restoredViewerRect(*stored->rect), screens);
    move(rect.left, rect.top);
    resize(std::max(rect.width(), kViewerMinimumWidth), std::max(rect.height(), kViewerMinimumHeight));
    normalGeometry_ = QRect(pos(), size());
  }
  if (stored->maximized.value_or(false)) {
    maximized_ = true;
    setWindowState(windowState() | Qt::WindowMaximized);
  }
}

void PacketViewer::trackNormalGeometry() {
  if (!initialized_) return;
  const Qt::WindowStates state = windowState();
  maximized_ = state.testFlag(Qt::WindowMaximized);
  if (state & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) return;
  normalGeometry_ = QRect(pos(), size());
}

void PacketViewer::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  trackNormalGeometry();
}

void PacketViewer::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  trackNormalGeometry();
}

void PacketViewer::storeSettings() {
  trackNormalGeometry();
  settings::PacketViewerClosingState state;
  state.normalRect = windowRectOf(normalGeometry_);
  state.maximized = maximized_;
  state.splitterRatio = splitter_->ratio();
  settings::writePacketViewerSettings(settings_, state);
}

void PacketViewer::showCurrentPacket(bool keepTreeView) {
  const ExpansionList userView = keepTreeView ? recordExpansionList(shown_.tree, currentExpansion()) : ExpansionList{};
  const PacketRecord& packet = packets_[navigation_.index()];
  shown_ = decoder_.decodePacket(packet);
  // A frame the decoder stops at (no Ethernet or IP header) still shows its bytes.
  if (shown_.hexText.empty()) {
    const std::span<const std::uint8_t> frame = currentFrame();
    shown_.hexText = hexPaneText(frame);
  }

  counterLabel_->setText(QString::fromStdString(navigation_.counterText()));
  const NavigationButtons buttons = navigation_.buttons();
  firstButton_->setEnabled(buttons.first);
  previousButton_->setEnabled(buttons.previous);
  nextButton_->setEnabled(buttons.next);
  lastButton_->setEnabled(buttons.last);
  const int iconSide = iconLabel_->width();
  const QIcon actionIcon = PacketIconSet().icon(actionDirectionIcon(packet.flags));
  iconLabel_->setPixmap(actionIcon.pixmap(QSize(iconSide, iconSide), devicePixelRatioF()));
  timeLabel_->setText(decodeAnsi(packet.time.text().view()));

  linking_ = true;
  fillTree(keepTreeView ? applyExpansionList(shown_.tree, userView) : decoderExpansion(shown_.tree));
  hexPane_->setPlainText(QString::fromLatin1(hexDocumentText(shown_.hexText)));
  payloadDocument_ = PayloadDocument(shown_.payloadText);
  payloadPane_->setPlainText(decodeAnsi(shown_.payloadText));
  linking_ = false;
  offsetLabel_->setText(QStringLiteral("0"));
}

void PacketViewer::fillTree(const TreeExpansion& expansion) {
  tree_->setUpdatesEnabled(false);
  tree_->clear();
  const DecodeTree& tree = shown_.tree;
  std::vector<QTreeWidgetItem*> items(tree.size(), nullptr);
  QList<QTreeWidgetItem*> topLevel;
  tree.forEachInOrder([&](NodeId id, unsigned) {
    const DecodeNode& node = tree.node(id);
    auto* item = new QTreeWidgetItem(QStringList(decodeAnsi(node.label)));
    item->setData(0, kNodeIdRole, QVariant::fromValue(id));
    items[id] = item;
    if (node.parent == DecodeTree::kNoNode) topLevel.append(item);
    else items[node.parent]->addChild(item);
  });
  tree_->addTopLevelItems(topLevel);
  for (NodeId id = 0; id < tree.size(); ++id) {
    if (id < expansion.size() && expansion[id]) items[id]->setExpanded(true);
  }
  if (shown_.scrollToRoot && !topLevel.isEmpty()) tree_->scrollToItem(topLevel.front(), QAbstractItemView::PositionAtTop);
  tree_->setUpdatesEnabled(true);
}

TreeExpansion PacketViewer::currentExpansion() const {
  TreeExpansion expansion(shown_.tree.size(), false);
  std::function<void(QTreeWidgetItem*)> visit = [&](QTreeWidgetItem* item) {
    const NodeId id = item->data(0, kNodeIdRole).value<NodeId>();
    if (id < expansion.size()) expansion[id] = item->isExpanded();
    for (int i = 0; i < item->childCount(); ++i) visit(item->child(i));
  };
  for (int i = 0; i < tree_->topLevelItemCount(); ++i) visit(tree_->topLevelItem(i));
  return expansion;
}

void PacketViewer::afterMove(std::optional<std::size_t> moved) {
  if (moved) showCurrentPacket(true);
}

void PacketViewer::goFirst() { afterMove(navigation_.first()); }
void PacketViewer::goPrevious() { afterMove(navigation_.previous()); }
void PacketViewer::goNext() { afterMove(navigation_.next()); }
void PacketViewer::goLast() { afterMove(navigation_.last()); }

void PacketViewer::searchInPackets() {
  const auto pattern = askSearchPattern(this, lastSearch_);
  if (!pattern) return;
  const auto hit = searchViewerPackets(packets_, navigation_.index(), *pattern);
  if (!hit) return;
  navigation_.moveTo(hit->packetIndex);
  showCurrentPacket(true);
  selectBytes(static_cast<FrameOffset>(hit->frameOffset), pattern->size());
}

void PacketViewer::selectBytes(FrameOffset offset, std::size_t count) {
  linking_ = true;
  if (offset >= shown_.payloadBase && !shown_.payloadText.empty()) {
    const std::size_t start = offset - shown_.payloadBase;
    selectRange(payloadPane_, payloadDocument_.documentPosition(start), payloadDocument_.documentPosition(start + count));
  }
  linking_ = false;
  selectInHexPane(hexSelectionOfBytes(offset, count));
}

void PacketViewer::selectInHexPane(HexSelection selection) {
  const std::size_t length = static_cast<std::size_t>(hexPane_->document()->characterCount() - 1);
  linking_ = true;
  selectRange(hexPane_, documentPositionOf(selection.start, length), documentPositionOf(selection.end, length));
  linking_ = false;
  refreshOffsetText();
}

void PacketViewer::refreshOffsetText() {
  const QTextCursor cursor = hexPane_->textCursor();
  const HexSelection selection{hexPositionOfDocument(static_cast<std::size_t>(cursor.selectionStart())),
                               hexPositionOfDocument(static_cast<std::size_t>(cursor.selectionEnd()))};
  offsetLabel_->setText(QString::fromStdString(offsetTextOf(selection)));
}

void PacketViewer::onTreeSelectionChanged() {
  if (linking_) return;
  const auto node = currentNode();
  if (!node) return;
  const HexSpan span = shown_.tree.node(*node).span;
  selectInHexPane({span.start, span.end});
}

void PacketViewer::onHexSelectionChanged() {
  if (linking_) return;
  refreshOffsetText();
  // The field under the selection's start, shown in the tree without the
  // tree in turn reselecting the hex pane.
  const HexCharPos position = hexPositionOfDocument(static_cast<std::size_t>(hexPane_->textCursor().selectionStart()));
  const auto node = nodeAtHexPosition(shown_.tree, position);
  if (!node) return;
  QTreeWidgetItemIterator it(tree_);
  for (; *it; ++it) {
    if ((*it)->data(0, kNodeIdRole).value<NodeId>() == *node) break;
  }
  if (!*it) return;
  linking_ = true;
  tree_->setCurrentItem(*it);
  tree_->scrollToItem(*it);
  linking_ = false;
}

void PacketViewer::onPayloadSelectionChanged() {
  if (linking_) return;
  const QTextCursor cursor = payloadPane_->textCursor();
  selectInHexPane(hexSelectionOfPayload(shown_.payloadBase,
                                        payloadDocument_.bytePosition(static_cast<std::size_t>(cursor.selectionStart())),
                                        payloadDocument_.bytePosition(static_cast<std::size_t>(cursor.selectionEnd()))));
}

std::optional<NodeId> PacketViewer::currentNode() const {
  const QTreeWidgetItem* item = tree_->currentItem();
  if (item == nullptr) return std::nullopt;
  const NodeId id = item->data(0, kNodeIdRole).value<NodeId>();
  if (id >= shown_.tree.size()) return std::nullopt;
  return id;
}

std::span<const std::uint8_t> PacketViewer::currentFrame() const {
  const PacketRecord& packet = packets_[navigation_.index()];
  return searchedFrame(packet);
}

void PacketViewer::showTreeMenu(const QPoint& position) {
  if (QTreeWidgetItem* item = tree_->itemAt(position)) tree_->setCurrentItem(item);
  const bool hasNode = currentNode().has_value();
  for (QAction* action : {saveAction_, copyAction_, copyHexAction_}) action->setEnabled(hasNode);
  QMenu menu(this);
  menu.addAction(saveAction_);
  menu.addSeparator();
  menu.addAction(copyAction_);
  menu.addAction(copyHexAction_);
  menu.addSeparator();
  menu.addAction(expandAllAction_);
  menu.addAction(collapseAllAction_);
  menu.exec(tree_->viewport()->mapToGlobal(position) + QPoint(5, 5));
}

void PacketViewer::copyNodeLabel() {
  if (const auto node = currentNode()) QApplication::clipboard()->setText(decodeAnsi(shown_.tree.node(*node).label));
}

void PacketViewer::copyNodeBytes() {
  const auto node = currentNode();
  if (!node) return;
  const std::span<const std::uint8_t> frame = currentFrame();
  const ByteRange range = byteRangeOfSpan(shown_.tree.node(*node).span, frame.size());
  QString text;
  for (std::size_t i = range.first; i < range.end; ++i) {
    if (i > range.first) text += QLatin1Char(' ');
    text += QStringLiteral("%1").arg(frame[i], 2, 16, QLatin1Char('0'));
  }
  QApplication::clipboard()->setText(text);
}

void PacketViewer::saveNodeToFile() {
  const auto node = currentNode();
  if (!node) return;
  FileDialogRequest request;
  request.mode = FileDialogRequest::Mode::kSave;
  request.filter = kSaveFilter;
  const auto path = chooseFile_(this, request);
  if (!path) return;
  const std::span<const std::uint8_t> frame = currentFrame();
  const ByteRange range = byteRangeOfSpan(shown_.tree.node(*node).span, frame.size());
  const std::string_view bytes(reinterpret_cast<const char*>(frame.data()) + range.first, range.size());

  // Replaced whole or not at all: a failed save keeps the file that was there.
  const platform::FileWriteResult result = platform::writeFileAtomically(*path, bytes);
  if (result.ok()) return;
  const QString failure = (result.openFailed ? QStringLiteral("File Open Error : ") : QStringLiteral("File Write Error : ")) +
                          QString::fromLocal8Bit(result.errorText());
  QMessageBox box(QMessageBox::Warning, kApplicationTitle, failure, QMessageBox::Ok, this);
  box.exec();
}

}  // namespace qv::gui
