// The main of every widget test program: a QApplication on the offscreen
// platform whose HOME and configuration folders are throw-away, so no test
// ever reads or writes the user's real settings or filter list.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdlib>

int main(int argc, char* argv[]) {
  QTemporaryDir home;
  if (!home.isValid()) return 2;
  const QByteArray homePath = QFile::encodeName(home.path());
  QDir(home.path()).mkpath(QStringLiteral(".config"));
  ::setenv("HOME", homePath.constData(), 1);
  ::setenv("XDG_CONFIG_HOME", (homePath + "/.config").constData(), 1);
  ::setenv("XDG_DATA_HOME", (homePath + "/.local/share").constData(), 1);
  ::setenv("XDG_CACHE_HOME", (homePath + "/.cache").constData(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QStandardPaths::setTestModeEnabled(true);

  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Orvane"));
  QApplication::setApplicationName(QStringLiteral("Quorvex Log Viewer"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
