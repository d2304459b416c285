// The options dialog 動作環境: the owner's name shown in the title,
// automatic saving at exit, saving the default charge, the old-version
// compatibility mode, and the exchange names every exchange field offers.
//
// It only edits a copy of the options; OK hands them back through
// options() and the window applies and stores them. CANCEL, Esc or the
// frame's close leave everything as it was.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace tomvik::app {

struct Options {
  QString coName;
  bool autoSave = false;
  bool chargeSave = true;
  bool oldMode = false;
  QStringList exchanges;
};

class TFormOption : public QDialog {
  Q_OBJECT

 public:
  // `options`: what the window holds now, the exchange names as the list starts.
  explicit TFormOption(const Options& options, QWidget* parent = nullptr);

  // What the dialog shows; empty exchange names are left out.
  Options options() const;

  struct Ui {
    QTabWidget* PageControl = nullptr;
    QLineEdit* LabeledEditCoName = nullptr;
    QCheckBox* CheckBoxAutoSave = nullptr;
    QCheckBox* CheckBoxChargeSave = nullptr;
    QCheckBox* CheckBoxOldMode = nullptr;
    QTreeWidget* ListViewExchg = nullptr;
    QPushButton* ButtonExchgAdd = nullptr;
    QPushButton* ButtonExchgDel = nullptr;
    QPushButton* ButtonExchgUp = nullptr;
    QPushButton* ButtonExchgDown = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonCancel = nullptr;
  };
  Ui ui;

  void ListViewExchgSelectItem();
  void ButtonExchgAddClick();
  void ButtonExchgDelClick();
  // Moves the selected name by `step` places: -1 up, +1 down. At either end
  // of the list the order stays as it is.
  void ButtonExchgUpDownClick(int step);

 private:
  QWidget* createGeneralPage();
  QWidget* createExchangePage();
  void fill(const Options& options);
};

}  // namespace tomvik::app
