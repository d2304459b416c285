// Draws an SVG picture into a square PNG at a given size, so that the
// installed PNG icons are made from the one SVG source at build time.
//   render_icon <in.svg> <out.png> <size>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: render_icon <in.svg> <out.png> <size>\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The offscreen platform's notes about the session are no news at build time.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
  });
  QGuiApplication app(argc, argv);
  const int size = QString::fromLocal8Bit(argv[3]).toInt();
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid() || size <= 0) {
    std::fprintf(stderr, "render_icon: cannot draw %s at %s\n", argv[1], argv[3]);
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter);
  painter.end();
  if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "render_icon: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
