// The About box バージョン情報: the program's icon and title over a tiled
// cream background, its version as the build gives it, and the web address,
// which opens in the user's browser and closes the box.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QString>

class QLabel;
class QPushButton;

namespace tomvik::app {

// The version of this build ("2.2.2") and the program's web address.
QString ProgramVersion();
QString ProgramWebAddress();
// A version as the About box writes it: the major number, a point, then the
// other numbers run together ("2.2.2" is "2.22", as the settings' version 222).
QString ShownVersion(const QString& version);

// The web address, drawn twice a pixel apart for a shadow, as a link: bold,
// underlined, a hand cursor; blue over white while the pointer is on it,
// black over yellow otherwise.
class AddressLink : public QWidget {
  Q_OBJECT

 public:
  AddressLink(const QString& address, QWidget* parent);

  const QString& address() const { return address_; }
  bool hovered() const { return hovered_; }
  QSize sizeHint() const override;

 signals:
  void clicked(const QString& address);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QString address_;
  bool hovered_ = false;
};

class TFormAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TFormAbout(QWidget* parent = nullptr);

  struct Ui {
    QLabel* ProgramIcon = nullptr;
    QLabel* ImageTitle = nullptr;
    AddressLink* LabelURL1 = nullptr;
    QLabel* LabelFolder = nullptr;
    QPushButton* OKButton = nullptr;
  };
  Ui ui;

  // The version line as shown: "～ Version 2.22 ～".
  static QString VersionText();
  // Names the folder the program keeps its files in (beside the executable,
  // or the user's data folder for an installed program).
  void showDataFolder(const QString& folder);
  // Hands the address to the desktop to open, then closes the box.
  void LabelURL1Click(const QString& address);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap background_;
};

}  // namespace tomvik::app
