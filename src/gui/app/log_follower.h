#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

namespace qv::gui {

// Watches the log file of a tab while "Follow" is on and says when to read it
// again: on a change the file system watcher reports, or that a poll sees
// where the watcher cannot (network folders, a file replaced by rename), at
// most once per interval. A file that disappears or turns unreadable pauses
// following with a status text; following resumes, with a re-read, once the
// file can be read again.
class LogFollower : public QObject {
  Q_OBJECT

 public:
  explicit LogFollower(QObject* parent = nullptr);

  // Starts following `path` (instead of any file before). The caller has just
  // read it, so the first reread() comes with the first change.
  void follow(const QString& path);
  void stop();

  bool isFollowing() const noexcept { return !path_.isEmpty(); }
  bool isPaused() const noexcept { return paused_; }
  const QString& path() const noexcept { return path_; }
  // The status bar line while paused; empty otherwise.
  QString statusText() const;

  // The shortest time between two reread() signals (a second) and the poll
  // period (a second); tests shorten them.
  void setMinimumInterval(std::chrono::milliseconds interval) { minimumInterval_ = interval; }
  void setPollInterval(std::chrono::milliseconds interval);

 signals:
  // Read the file again now, keeping the user's place.
  void reread();
  // Following stopped waiting for the file; show `statusText` in the status bar.
  void paused(const QString& statusText);
  // The file is back: clear the status text (a reread() follows).
  void resumed();

 private:
  struct FileState {
    bool readable = false;
    qint64 size = -1;
    QDateTime modified;
    quint64 identity = 0;  // changes when the file is replaced

    friend bool operator==(const FileState&, const FileState&) = default;
  };

  static FileState stateOf(const QString& path);
  // `reported`: the watcher saw a change, which counts even when size and
  // time look the same (a ring rewritten in place within one clock tick).
  void check(bool reported = false);
  void requestReread();
  void emitReread();
  void watchPath();

  QString path_;
  FileState last_;
  bool paused_ = false;
  QFileSystemWatcher watcher_;
  QTimer poll_;
  QTimer delayed_;
  QElapsedTimer sinceReread_;
  std::chrono::milliseconds minimumInterval_{1000};
};

}  // namespace qv::gui
