#include "gui/app/log_follower.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace qv::gui {

LogFollower::LogFollower(QObject* parent) : QObject(parent) {
  poll_.setInterval(std::chrono::milliseconds(1000));
  delayed_.setSingleShot(true);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { check(true); });
  connect(&poll_, &QTimer::timeout, this, [this] { check(); });
  connect(&delayed_, &QTimer::timeout, this, &LogFollower::emitReread);
}

void LogFollower::setPollInterval(std::chrono::milliseconds interval) { poll_.setInterval(interval); }

void LogFollower::follow(const QString& path) {
  stop();
  path_ = path;
  last_ = stateOf(path_);
  paused_ = false;
  sinceReread_.start();
  watchPath();
  poll_.start();
  if (!last_.readable) check();
}

void LogFollower::stop() {
  if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
  poll_.stop();
  delayed_.stop();
  path_.clear();
  paused_ = false;
}

QString LogFollower::statusText() const {
  if (!paused_) return {};
  return tr("Follow paused: %1 cannot be read").arg(QDir::toNativeSeparators(path_));
}

LogFollower::FileState LogFollower::stateOf(const QString& path) {
  FileState state;
  QFile file(path);
  // Readable means it opens now, not just that its permission bits allow it.
  if (!file.open(QIODevice::ReadOnly)) return state;
  const QFileInfo info(path);
  state.readable = true;
  state.size = file.size();
  state.modified = info.lastModified();
#ifndef _WIN32
  struct stat status {};
  if (::stat(QFile::encodeName(path).constData(), &status) == 0) {
    state.identity = (static_cast<quint64>(status.st_dev) << 32) ^ static_cast<quint64>(status.st_ino);
  }
#endif
  return state;
}

void LogFollower::watchPath() {
  // The watcher forgets a file that was removed or replaced; watch it again.
  if (!watcher_.files().contains(path_) && QFileInfo::exists(path_)) watcher_.addPath(path_);
}

void LogFollower::check(bool reported) {
  if (path_.isEmpty()) return;
  const FileState now = stateOf(path_);
  if (!now.readable) {
    last_ = now;
    delayed_.stop();
    if (!paused_) {
      paused_ = true;
      emit paused(statusText());
    }
    return;
  }
  watchPath();
  const bool changed = reported || !(now == last_);
  last_ = now;
  if (paused_) {
    paused_ = false;
    emit resumed();
    requestReread();
  } else if (changed) {
    requestReread();
  }
}

void LogFollower::requestReread() {
  if (delayed_.isActive()) return;  // a reread is already on its way
  const auto elapsed = std::chrono::milliseconds(sinceReread_.elapsed());
  if (elapsed >= minimumInterval_) {
    emitReread();
  } else {
    delayed_.start(minimumInterval_ - elapsed);
  }
}

void LogFollower::emitReread() {
  if (path_.isEmpty()) return;
  sinceReread_.restart();
  emit reread();
}

}  // namespace qv::gui
