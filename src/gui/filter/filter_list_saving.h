#pragma once

#include <QString>

#include <string>

#include "filter/filter_list.h"

class QWidget;

namespace qv::gui {

// Stores the list in filter.lst at once after the Filter List dialog's OK,
// so a crash before shutdown cannot lose the edit (shutdown stores it again).
// A failure is reported in a message box; false then.
bool storeFilterListNow(QWidget* owner, const FilterList& list, const std::string& path);

// The message for a filter list that could not be stored.
QString filterListStoreFailureText(const std::string& path, const std::string& systemText);

}  // namespace qv::gui
