#pragma once

#include <QString>

#include <string_view>

#include "views/sort_state.h"

namespace qv::gui {

// A column title with the arrow of its sort order at its right.
inline QString headerTitle(std::string_view title, HeaderArrow arrow) {
  QString text = QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size()));
  switch (arrow) {
    case HeaderArrow::kDown: return text + QStringLiteral(" \u25BC");
    case HeaderArrow::kUp: return text + QStringLiteral(" \u25B2");
    case HeaderArrow::kNone: break;
  }
  return text;
}

}  // namespace qv::gui
