#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Orvane"));
  QApplication::setApplicationName(QStringLiteral("Quorvex Log Viewer"));
  QLabel placeholder(QStringLiteral("Quorvex Log Viewer"));
  placeholder.show();
  return QApplication::exec();
}
