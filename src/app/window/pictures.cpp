#include "app/window/pictures.h"

#include <QPainter>
#include <QSvgRenderer>

namespace tomvik::app {

QPixmap Picture(const QString& source, QSize size) {
  QSvgRenderer renderer(source);
  if (!renderer.isValid()) return QPixmap();
  if (size.isEmpty()) size = renderer.defaultSize();
  QPixmap picture(size);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  renderer.render(&painter);
  return picture;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int side : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(Picture(kIconPicture, QSize(side, side)));
  return icon;
}

}  // namespace tomvik::app
