#pragma once

#include <QFileIconProvider>
#include <QHash>
#include <QIcon>
#include <QString>

#include <array>
#include <string_view>

namespace qv::gui {

// The fixed small icons of the traffic view, by the core's icon index
// (action/direction 0-5, protocols 6-8, rule classes 9-16), drawn as vector
// images so they stay crisp at any scale.
class TrafficIconSet {
 public:
  TrafficIconSet();
  // A null icon for an index outside 0 to 16.
  QIcon icon(int index) const;

 private:
  std::array<QIcon, 17> icons_;
};

// The packet view's fixed icons: action/direction 0-5, TCP, UDP, ICMP, IGMP.
class PacketIconSet {
 public:
  PacketIconSet();
  QIcon icon(int index) const;

 private:
  std::array<QIcon, 10> icons_;
};

// The icon of each application path, asked of the desktop once per distinct
// path (a path without an icon is remembered as such) until cleared.
class ApplicationIconCache {
 public:
  QIcon icon(std::string_view applicationPath);
  void clear() { icons_.clear(); }
  qsizetype size() const { return icons_.size(); }

 private:
  QFileIconProvider provider_;
  QHash<QString, QIcon> icons_;
};

}  // namespace qv::gui
