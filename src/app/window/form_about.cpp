#include "app/window/form_about.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>

#include "app/window/help_window.h"
#include "app/window/pictures.h"

namespace tomvik::app {

namespace {

// The box and where its parts stand.
constexpr QSize kClientSize(298, 213);
constexpr QPoint kIconAt(56, 32);
constexpr QPoint kTitleAt(94, 28);
constexpr int kVersionTop = 77;  // the shadow lies a pixel above and below
constexpr int kFolderTop = 106;
constexpr int kAddressTop = 139;
constexpr QRect kOkButton(111, 176, 75, 25);

const QColor kCream(255, 248, 225);

QFont VersionFont(const QFont& base) {
  QFont font = base;
  font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("DejaVu Serif"), QStringLiteral("serif")});
  font.setPointSize(9);
  return font;
}

}  // namespace

QString ProgramVersion() { return QStringLiteral(TOMVIK_VERSION); }
QString ProgramWebAddress() { return QStringLiteral(TOMVIK_WEB_ADDRESS); }

QString ShownVersion(const QString& version) {
  const qsizetype point = version.indexOf(u'.');
  if (point < 0) return version;
  return version.left(point + 1) + version.mid(point + 1).remove(u'.');
}

// ---------------------------------------------------------------------------
// The address

AddressLink::AddressLink(const QString& address, QWidget* parent) : QWidget(parent), address_(address) {
  setObjectName(QStringLiteral("LabelURL1"));
  setCursor(Qt::PointingHandCursor);
  setToolTip(address);
  QFont linkFont = font();
  linkFont.setBold(true);
  linkFont.setUnderline(true);
  setFont(linkFont);
  setAttribute(Qt::WA_Hover);
}

QSize AddressLink::sizeHint() const {
  const QFontMetrics metrics(font());
  return QSize(metrics.horizontalAdvance(address_) + 2, metrics.height() + 1);
}

void AddressLink::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font());
  const int baseline = fontMetrics().ascent();
  painter.setPen(hovered_ ? QColor(Qt::white) : QColor(Qt::yellow));
  painter.drawText(QPoint(0, baseline), address_);
  painter.setPen(hovered_ ? QColor(Qt::blue) : QColor(Qt::black));
  painter.drawText(QPoint(1, baseline + 1), address_);
}

void AddressLink::enterEvent(QEnterEvent*) {
  hovered_ = true;
  update();
}

void AddressLink::leaveEvent(QEvent*) {
  hovered_ = false;
  update();
}

void AddressLink::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked(address_);
}

// ---------------------------------------------------------------------------
// The box

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent), background_(Picture(kBackgroundPicture)) {
  setObjectName(QStringLiteral("FormAbout"));
  setWindowTitle(QStringLiteral("バージョン情報"));
  setFixedSize(kClientSize);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setAutoFillBackground(false);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kCream);
  setPalette(palette);

  ui.ProgramIcon = new QLabel(this);
  ui.ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
  ui.ProgramIcon->setPixmap(Picture(kIconPicture, QSize(32, 32)));
  ui.ProgramIcon->setGeometry(QRect(kIconAt, QSize(32, 32)));

  ui.ImageTitle = new QLabel(this);
  ui.ImageTitle->setObjectName(QStringLiteral("ImageTitle"));
  const QPixmap title = Picture(kTitlePicture);
  ui.ImageTitle->setPixmap(title);
  ui.ImageTitle->setGeometry(QRect(kTitleAt, title.size()));

  // The address is centred: its width depends on the font.
  ui.LabelURL1 = new AddressLink(ProgramWebAddress(), this);
  const QSize address = ui.LabelURL1->sizeHint();
  ui.LabelURL1->setGeometry(QRect(QPoint((kClientSize.width() - address.width()) / 2, kAddressTop), address));
  connect(ui.LabelURL1, &AddressLink::clicked, this, &TFormAbout::LabelURL1Click);

  ui.LabelFolder = new QLabel(this);
  ui.LabelFolder->setObjectName(QStringLiteral("LabelFolder"));
  ui.LabelFolder->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  ui.LabelFolder->setGeometry(QRect(8, kFolderTop, kClientSize.width() - 16, ui.LabelFolder->fontMetrics().height()));

  ui.OKButton = new QPushButton(QStringLiteral("OK"), this);
  ui.OKButton->setObjectName(QStringLiteral("OKButton"));
  ui.OKButton->setGeometry(kOkButton);
  ui.OKButton->setDefault(true);
  connect(ui.OKButton, &QPushButton::clicked, this, &QDialog::accept);

  auto* help = new QShortcut(QKeySequence::HelpContents, this);
  connect(help, &QShortcut::activated, this, [this] { ShowHelpTopic(this, kHelpTopicAbout); });
}

QString TFormAbout::VersionText() { return QStringLiteral("～ Version %1 ～").arg(ShownVersion(ProgramVersion())); }

void TFormAbout::showDataFolder(const QString& folder) {
  const QString text = QStringLiteral("データの保存先: ") + folder;
  ui.LabelFolder->setText(ui.LabelFolder->fontMetrics().elidedText(text, Qt::ElideMiddle, ui.LabelFolder->width()));
  ui.LabelFolder->setToolTip(folder);
}

void TFormAbout::LabelURL1Click(const QString& address) {
  QDesktopServices::openUrl(QUrl(address));
  accept();
}

void TFormAbout::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (background_.isNull()) {
    painter.fillRect(rect(), kCream);
  } else {
    // The picture laid edge to edge from the top-left corner.
    for (int x = 0; x < width(); x += background_.width()) {
      for (int y = 0; y < height(); y += background_.height()) painter.drawPixmap(x, y, background_);
    }
  }
  // The version, centred, twice in a shadow's colours and once on top.
  painter.setFont(VersionFont(font()));
  const QString text = VersionText();
  const int x = (width() - painter.fontMetrics().horizontalAdvance(text)) / 2;
  const std::pair<QPoint, QColor> layers[] = {{{-1, -1}, Qt::white}, {{1, 1}, Qt::cyan}, {{0, 0}, Qt::blue}};
  for (const auto& [offset, colour] : layers) {
    painter.setPen(colour);
    painter.drawText(QPoint(x, kVersionTop + painter.fontMetrics().ascent()) + offset, text);
  }
}

}  // namespace tomvik::app
