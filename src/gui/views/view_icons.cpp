#include "gui/views/view_icons.h"

#include <QFileInfo>

#include "gui/views/ansi_text.h"

namespace qv::gui {
namespace {

QIcon svgIcon(const char* name) {
  return QIcon(QStringLiteral(":/views/icons/%1.svg").arg(QLatin1String(name)));
}

constexpr const char* kActionDirectionNames[] = {"allow_in",      "block_in",      "allow_out",
                                                 "block_out",     "allow_unknown", "block_unknown"};

}  // namespace

TrafficIconSet::TrafficIconSet() {
  constexpr const char* kNames[] = {"allow_in",    "block_in",    "allow_out",        "block_out",
                                    "allow_unknown", "block_unknown", "proto_tcp",    "proto_udp",
                                    "proto_icmp",  "rule_allow_all", "rule_ask",      "rule_block_all",
                                    "rule_block",  "rule_share_allow", "rule_share_block", "rule_application",
                                    "rule_advanced"};
  for (std::size_t i = 0; i < icons_.size(); ++i) icons_[i] = svgIcon(kNames[i]);
}

QIcon TrafficIconSet::icon(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= icons_.size()) return {};
  return icons_[static_cast<std::size_t>(index)];
}

PacketIconSet::PacketIconSet() {
  for (std::size_t i = 0; i < 6; ++i) icons_[i] = svgIcon(kActionDirectionNames[i]);
  icons_[6] = svgIcon("proto_tcp");
  icons_[7] = svgIcon("proto_udp");
  icons_[8] = svgIcon("proto_icmp");
  icons_[9] = svgIcon("proto_igmp");
}

QIcon PacketIconSet::icon(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= icons_.size()) return {};
  return icons_[static_cast<std::size_t>(index)];
}

QIcon ApplicationIconCache::icon(std::string_view applicationPath) {
  const QString path = decodeAnsi(applicationPath);
  const auto found = icons_.constFind(path);
  if (found != icons_.constEnd()) return *found;
  // Logs name Windows paths; the desktop knows icons only for files it can see.
  const QFileInfo file(path);
  QIcon icon = file.exists() ? provider_.icon(file) : QIcon();
  icons_.insert(path, icon);
  return icon;
}

}  // namespace qv::gui
