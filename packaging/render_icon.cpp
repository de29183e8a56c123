// Draws an SVG icon as a square PNG of the given size: the icon theme wants
// bitmaps beside the scalable image.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: qv_render_icon ICON.svg SIZE OUT.png\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  const int size = std::atoi(argv[2]);
  if (!renderer.isValid() || size <= 0) {
    std::fprintf(stderr, "qv_render_icon: cannot draw %s at size %s\n", argv[1], argv[2]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
  }
  const QString out = QString::fromLocal8Bit(argv[3]);
  QDir().mkpath(QFileInfo(out).absolutePath());
  if (!image.save(out)) {
    std::fprintf(stderr, "qv_render_icon: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
