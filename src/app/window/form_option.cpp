#include "app/window/form_option.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tomvik::app {

namespace {

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QLatin1String(name));
  button->setAutoDefault(false);
  return button;
}

QCheckBox* Check(const QString& text, const char* name, QWidget* parent) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(QLatin1String(name));
  return box;
}

QTreeWidgetItem* ExchangeItem(const QString& name) {
  auto* item = new QTreeWidgetItem(QStringList{name});
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
  return item;
}

}  // namespace

TFormOption::TFormOption(const Options& options, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FormOption"));
  setWindowTitle(QStringLiteral("動作環境"));

  ui.PageControl = new QTabWidget(this);
  ui.PageControl->setObjectName(QStringLiteral("PageControlOption"));
  ui.PageControl->addTab(createGeneralPage(), QStringLiteral("総合"));
  ui.PageControl->addTab(createExchangePage(), QStringLiteral("取引所"));

  ui.ButtonOk = Button(QStringLiteral("OK"), "ButtonOk", this);
  ui.ButtonOk->setAutoDefault(true);
  ui.ButtonOk->setDefault(true);
  ui.ButtonCancel = Button(QStringLiteral("CANCEL"), "ButtonCancel", this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ui.ButtonOk);
  buttons->addWidget(ui.ButtonCancel);

  auto* column = new QVBoxLayout(this);
  column->addWidget(ui.PageControl);
  column->addLayout(buttons);
  connect(ui.ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

  fill(options);
  // A box of fixed size, as laid out.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* TFormOption::createGeneralPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TabSheetGeneral"));
  ui.LabeledEditCoName = new QLineEdit(page);
  ui.LabeledEditCoName->setObjectName(QStringLiteral("LabeledEditCoName"));
  auto* label = new QLabel(QStringLiteral("名前"), page);
  label->setBuddy(ui.LabeledEditCoName);
  ui.CheckBoxAutoSave = Check(QStringLiteral("終了時にデータを自動保存"), "CheckBoxAutoSave", page);
  ui.CheckBoxChargeSave = Check(QStringLiteral("手数料の初期値保存をする"), "CheckBoxChargeSave", page);
  ui.CheckBoxOldMode = Check(QStringLiteral("旧バージョン互換モード"), "CheckBoxOldMode", page);

  auto* column = new QVBoxLayout(page);
  column->addWidget(label);
  column->addWidget(ui.LabeledEditCoName);
  column->addSpacing(8);
  for (QCheckBox* box : {ui.CheckBoxAutoSave, ui.CheckBoxChargeSave, ui.CheckBoxOldMode}) column->addWidget(box);
  column->addStretch(1);
  return page;
}

QWidget* TFormOption::createExchangePage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TabSheetExchg"));
  ui.ListViewExchg = new QTreeWidget(page);
  ui.ListViewExchg->setObjectName(QStringLiteral("ListViewExchg"));
  ui.ListViewExchg->setHeaderLabels({QStringLiteral("取引所名")});
  ui.ListViewExchg->setRootIsDecorated(false);
  ui.ListViewExchg->setSelectionMode(QAbstractItemView::SingleSelection);
  ui.ListViewExchg->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                    QAbstractItemView::SelectedClicked);
  ui.ListViewExchg->setMinimumSize(180, 160);

  ui.ButtonExchgAdd = Button(QStringLiteral("追加"), "ButtonExchgAdd", page);
  ui.ButtonExchgDel = Button(QStringLiteral("削除"), "ButtonExchgDel", page);
  ui.ButtonExchgUp = Button(QStringLiteral("↑"), "ButtonExchgUp", page);
  ui.ButtonExchgDown = Button(QStringLiteral("↓"), "ButtonExchgDown", page);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {ui.ButtonExchgAdd, ui.ButtonExchgDel, ui.ButtonExchgUp, ui.ButtonExchgDown}) {
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  auto* row = new QHBoxLayout(page);
  row->addWidget(ui.ListViewExchg, 1);
  row->addLayout(buttons);

  connect(ui.ListViewExchg, &QTreeWidget::itemSelectionChanged, this, &TFormOption::ListViewExchgSelectItem);
  connect(ui.ButtonExchgAdd, &QPushButton::clicked, this, &TFormOption::ButtonExchgAddClick);
  connect(ui.ButtonExchgDel, &QPushButton::clicked, this, &TFormOption::ButtonExchgDelClick);
  connect(ui.ButtonExchgUp, &QPushButton::clicked, this, [this] { ButtonExchgUpDownClick(-1); });
  connect(ui.ButtonExchgDown, &QPushButton::clicked, this, [this] { ButtonExchgUpDownClick(1); });
  return page;
}

void TFormOption::fill(const Options& options) {
  ui.LabeledEditCoName->setText(options.coName);
  ui.CheckBoxAutoSave->setChecked(options.autoSave);
  ui.CheckBoxChargeSave->setChecked(options.chargeSave);
  ui.CheckBoxOldMode->setChecked(options.oldMode);
  for (const QString& name : options.exchanges) ui.ListViewExchg->addTopLevelItem(ExchangeItem(name));
  ListViewExchgSelectItem();
}

Options TFormOption::options() const {
  Options options;
  options.coName = ui.LabeledEditCoName->text();
  options.autoSave = ui.CheckBoxAutoSave->isChecked();
  options.chargeSave = ui.CheckBoxChargeSave->isChecked();
  options.oldMode = ui.CheckBoxOldMode->isChecked();
  for (int i = 0; i < ui.ListViewExchg->topLevelItemCount(); ++i) {
    const QString name = ui.ListViewExchg->topLevelItem(i)->text(0);
    if (!name.isEmpty()) options.exchanges << name;
  }
  return options;
}

void TFormOption::ListViewExchgSelectItem() {
  const bool selected = !ui.ListViewExchg->selectedItems().isEmpty();
  for (QPushButton* button : {ui.ButtonExchgDel, ui.ButtonExchgUp, ui.ButtonExchgDown}) button->setEnabled(selected);
}

void TFormOption::ButtonExchgAddClick() {
  QTreeWidgetItem* item = ExchangeItem(QString());
  ui.ListViewExchg->addTopLevelItem(item);
  ui.ListViewExchg->setCurrentItem(item);
  ui.ListViewExchg->scrollToItem(item);
  ui.ListViewExchg->setFocus();
  ui.ListViewExchg->editItem(item, 0);
}

void TFormOption::ButtonExchgDelClick() {
  const QList<QTreeWidgetItem*> selected = ui.ListViewExchg->selectedItems();
  if (selected.isEmpty()) return;
  delete selected.front();
  ui.ListViewExchg->clearSelection();
  ListViewExchgSelectItem();
}

void TFormOption::ButtonExchgUpDownClick(int step) {
  const QList<QTreeWidgetItem*> selected = ui.ListViewExchg->selectedItems();
  if (selected.isEmpty()) return;
  const int from = ui.ListViewExchg->indexOfTopLevelItem(selected.front());
  const int to = from + step;
  if (to < 0 || to >= ui.ListViewExchg->topLevelItemCount()) return;
  QTreeWidgetItem* item = ui.ListViewExchg->takeTopLevelItem(from);
  ui.ListViewExchg->insertTopLevelItem(to, item);
  ui.ListViewExchg->setCurrentItem(item);
  ui.ListViewExchg->setFocus();
}

}  // namespace tomvik::app
