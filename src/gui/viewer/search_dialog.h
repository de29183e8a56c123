#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

#include "views/packet_search.h"

class QLineEdit;
class QRadioButton;

namespace qv::gui {

// The last text and mode of a search; each packet view and each viewer keeps
// its own.
struct SearchRequest {
  QString text;
  SearchMode mode = SearchMode::kString;
};

// "Search in Packets": the text (at most 255 characters) and whether it is a
// string or hex bytes. Shared by the packet list and the packet viewer.
class SearchDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxTextLength = 255;

  explicit SearchDialog(const SearchRequest& initial, QWidget* parent = nullptr);

  SearchRequest request() const;

 private:
  QLineEdit* textEdit_;
  QRadioButton* stringButton_;
  QRadioButton* hexButton_;
};

// Asks for a search, modal over `parent`, starting from `last`. On OK the
// text and mode become `last` and their bytes are returned; nothing on
// Cancel, for an empty pattern, or for hex text that is not valid (after
// telling the user "Error : Invalid Hex Data").
std::optional<std::vector<std::uint8_t>> askSearchPattern(QWidget* parent, SearchRequest& last);

}  // namespace qv::gui
