#include <QApplication>

#include <memory>

#include "gui/app/main_window.h"
#include "settings/settings_store.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Orvane"));
  QApplication::setApplicationName(QStringLiteral("Quorvex Log Viewer"));
  QApplication::setApplicationVersion(QStringLiteral(QV_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("qvlogview"));
  // The window hides into the tray; only its own exit ends the program.
  QApplication::setQuitOnLastWindowClosed(false);

  const std::unique_ptr<qv::settings::SettingsStore> store = qv::settings::openUserSettingsStore();
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  qv::gui::MainWindow window(qv::gui::MainWindowServices::standard(*store), qv::gui::parseStartupArguments(arguments));
  QObject::connect(&window, &qv::gui::MainWindow::exitRequested, &app, &QApplication::quit);
  // A session that ends still stores what the window would store on close.
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, [&window] { window.storeSettings(); });
  QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, [&window] { window.storeSettings(); });
  window.start();
  return QApplication::exec();
}
