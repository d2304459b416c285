// Opens the window on a data folder and writes a PNG of every tab, of the
// options dialog, the About box and a help page.
//
//   tomvik_screenshots <data folder> <output folder> [yyyy-mm-dd]
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "app/window/form_main.h"
#include "app/window/help_window.h"

namespace {

QString g_out;

bool Save(QWidget& widget, const QString& name) {
  QTest::qWait(100);
  const QString path = QDir(g_out).filePath(name + QStringLiteral(".png"));
  if (!widget.grab().save(path)) {
    std::fprintf(stderr, "tomvik_screenshots: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

// Runs `action`, which opens a modal dialog; `inside` gets the dialog while
// it is open, then the dialog is closed without effect.
bool WithModal(const std::function<void()>& action, const std::function<bool(QDialog&)>& inside) {
  bool ok = false;
  QTimer::singleShot(300, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog) {
      ok = inside(*dialog);
      dialog->reject();
    }
  });
  action();
  return ok;
}

void Trigger(QWidget& window, const char* action) {
  if (auto* a = window.findChild<QAction*>(QLatin1String(action))) a->trigger();
}

void OpenRow(QTreeView* list, int row) {
  if (!list || row < 0 || row >= list->model()->rowCount()) return;
  const QModelIndex index = list->model()->index(row, 1);
  list->setCurrentIndex(index);
  emit list->doubleClicked(index);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: tomvik_screenshots <data folder> <output folder> [yyyy-mm-dd]\n");
    return 2;
  }
  const QString data = QString::fromLocal8Bit(argv[1]);
  g_out = QString::fromLocal8Bit(argv[2]);
  const QDate today = argc > 3 ? QDate::fromString(QString::fromLatin1(argv[3]), Qt::ISODate) : QDate::currentDate();
  QDir().mkpath(g_out);

  tomvik::app::TFormMain window(std::filesystem::path(QFile::encodeName(data).toStdString()), today);
  // Wide enough for the lists' coloured columns at the right.
  window.resize(1100, 640);
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowExposed(&window)) std::fprintf(stderr, "tomvik_screenshots: window not exposed\n");
  auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("PageControlMain"));
  const char* names[] = {"diary", "holdings", "margin", "stocks", "totals", "simulation"};
  for (int i = 0; i < tabs->count(); ++i) {
    window.showTab(i);
    if (i == 4) {
      // The period totals over the year so far, with their chart and calendar.
      if (auto* year = window.findChild<QRadioButton*>(QStringLiteral("RadioButtonTotalStartY"))) year->click();
      if (auto* total = window.findChild<QPushButton*>(QStringLiteral("ButtonTotal"))) total->click();
    }
    if (i == 5) {
      // A holding taken over, and a part of it sold.
      window.showTab(1);
      OpenRow(window.findChild<QTreeView*>(QStringLiteral("ListViewHold")), 0);
      Trigger(window, "MainMenuSim");
      if (auto* sell = window.findChild<QRadioButton*>(QStringLiteral("RadioButtonS5"))) sell->click();
      if (auto* quantity = window.findChild<QLineEdit*>(QStringLiteral("EditNum5"))) quantity->setText("100");
      if (auto* record = window.findChild<QPushButton*>(QStringLiteral("ButtonBS5"))) record->click();
    }
    if (!Save(window, QStringLiteral("%1-%2").arg(i).arg(QLatin1String(names[i])))) return 1;
  }

  // The diary panel in its other modes: a trade row loaded, then a cash movement.
  window.showTab(0);
  auto* list = window.findChild<QTreeView*>(QStringLiteral("ListViewDiary"));
  int trade = list->model()->rowCount() - 1;
  while (trade >= 0 && list->model()->index(trade, 2).data().toString().isEmpty()) --trade;
  OpenRow(list, trade);
  if (!Save(window, QStringLiteral("0-diary-trade"))) return 1;
  auto* mode = window.findChild<QRadioButton*>(QStringLiteral("RadioButtonMode1"));
  auto* inOut = window.findChild<QCheckBox*>(QStringLiteral("CheckBoxInOut"));
  if (mode && mode->isEnabled() && inOut) {
    mode->click();
    inOut->click();
    if (!Save(window, QStringLiteral("0-diary-cash"))) return 1;
  }

  // The options dialog on both of its tabs, and the About box.
  const bool options = WithModal([&] { Trigger(window, "MenuOptionSetup"); },
                                 [](QDialog& dialog) {
                                   auto* pages = dialog.findChild<QTabWidget*>();
                                   if (!Save(dialog, QStringLiteral("6-options"))) return false;
                                   pages->setCurrentIndex(1);
                                   return Save(dialog, QStringLiteral("6-options-exchanges"));
                                 });
  const bool about = WithModal([&] { Trigger(window, "MenuHelpVersion"); },
                               [](QDialog& dialog) { return Save(dialog, QStringLiteral("7-about")); });
  if (!options || !about) return 1;

  // The help of the holdings tab.
  window.showTab(1);
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window)) std::fprintf(stderr, "tomvik_screenshots: window not active\n");
  QTest::keyClick(&window, Qt::Key_F1);
  auto* help = window.findChild<tomvik::app::HelpWindow*>();
  if (!help || !Save(*help, QStringLiteral("8-help"))) return 1;
  // The window is not closed through its close box: nothing is saved.
  return 0;
}
