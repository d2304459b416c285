// The program's pictures, compiled in from their one source each: the icon,
// and the About box's title and background.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace tomvik::app {

inline const QString kIconPicture = QStringLiteral(":/data/org.tomvik.Tomvik.svg");
inline const QString kTitlePicture = QStringLiteral(":/resources/about_title.svg");
inline const QString kBackgroundPicture = QStringLiteral(":/resources/about_back.svg");

// A picture drawn at `size` (its own size when empty); transparent where it
// has nothing.
QPixmap Picture(const QString& source, QSize size = QSize());
// The program's icon at the sizes a desktop asks for.
QIcon ProgramIcon();

}  // namespace tomvik::app
