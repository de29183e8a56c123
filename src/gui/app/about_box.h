#pragma once

#include <QString>

#include "decode/vendor_library_status.h"

class QMessageBox;
class QWidget;

namespace qv::gui {

// The About box's caption and body: the program name, the version it was
// built as and whether vendor names can be looked up.
QString aboutBoxTitle();
QString aboutBoxText(const VendorLibraryStatus& vendorLibrary);

// The About box for the menu bar's, the tray's and the system menu's About
// commands, not yet shown; showAboutBox runs it modally.
void prepareAboutBox(QMessageBox& box, const VendorLibraryStatus& vendorLibrary);
void showAboutBox(QWidget* parent);

}  // namespace qv::gui
