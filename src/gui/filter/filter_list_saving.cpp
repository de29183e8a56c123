#include "gui/filter/filter_list_saving.h"

#include <QFile>
#include <QMessageBox>

#include "filter/filter_list_file.h"

namespace qv::gui {

QString filterListStoreFailureText(const std::string& path, const std::string& systemText) {
  return QStringLiteral("Error : The filter list could not be saved to %1 : %2")
      .arg(QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size()))),
           QString::fromLocal8Bit(systemText.data(), static_cast<qsizetype>(systemText.size())));
}

bool storeFilterListNow(QWidget* owner, const FilterList& list, const std::string& path) {
  const platform::FileWriteResult result = storeFilterListFile(list, path);
  if (result.ok()) return true;
  QMessageBox::warning(owner, QStringLiteral("Quorvex Log Viewer"), filterListStoreFailureText(path, result.errorText()),
                       QMessageBox::Ok);
  return false;
}

}  // namespace qv::gui
