#include "app/totals/totals_tab.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/shell/settings_widgets.h"
#include "app/shell/widgets.h"

namespace tomvik::app {

namespace {

constexpr int kRecentCodesDropDownWidth = 207;
constexpr int kRecentCodesButtonWidth = 20;

}  // namespace

TotalsTab::TotalsTab(core::Books& books, QWidget* parent) : TabBase(books, parent) {
  setObjectName(QStringLiteral("TabSheetTotal"));
  createWidgets();
  createLayout();
  createConnections();
}

std::vector<ColumnSpec> TotalsTab::Columns() {
  const Qt::Alignment right = Qt::AlignRight;
  return {
      {QStringLiteral("日付"), Cell(TotalCol::Date), Qt::AlignLeft, 110},
      {QStringLiteral("売買損益"), Cell(TotalCol::Result), right, 100},
      {QStringLiteral("入出金"), Cell(TotalCol::Cash), right, 100},
      {QStringLiteral("収支"), Cell(TotalCol::Balance), right, 100},
      {QString(), Cell(TotalCol::Separator), right, 2, true},
      {QStringLiteral("累計"), Cell(TotalCol::Running), right, 120},
      {QString(), Cell(TotalCol::Count), right, 2, true},
  };
}

void TotalsTab::createWidgets() {
  ui.Splitter = new QSplitter(Qt::Vertical, this);
  ui.Splitter->setObjectName(QStringLiteral("SplitterTotal"));
  ui.PanelTotal = new QFrame(ui.Splitter);
  ui.PanelTotal->setObjectName(QStringLiteral("PanelTotal"));
  QWidget* panel = ui.PanelTotal;

  ui.ButtonTotal = new QPushButton(QStringLiteral("集計"), panel);
  ui.ButtonTotal->setObjectName(QStringLiteral("ButtonTotal"));

  ui.RadioButtonTotalD = MakeRadio(QStringLiteral("日次"), "RadioButtonTotalD", panel);
  ui.RadioButtonTotalM = MakeRadio(QStringLiteral("月次"), "RadioButtonTotalM", panel);
  ui.TotalModeGroup = new QButtonGroup(this);
  ui.TotalModeGroup->addButton(ui.RadioButtonTotalD, 0);
  ui.TotalModeGroup->addButton(ui.RadioButtonTotalM, 1);
  ui.RadioButtonTotalD->setChecked(true);

  ui.DateTimePickerTotalF = MakeDatePicker(QStringLiteral("DateTimePickerTotalF"), panel);
  ui.DateTimePickerTotalT = MakeDatePicker(QStringLiteral("DateTimePickerTotalT"), panel);

  // An exclusive group starts with nothing checked, as the presets do until
  // one is chosen; the ids are the presets' numbers.
  ui.RadioButtonTotalStartY = MakeRadio(QStringLiteral("年"), "RadioButtonTotalStartY", panel);
  ui.RadioButtonTotalStartM = MakeRadio(QStringLiteral("月"), "RadioButtonTotalStartM", panel);
  ui.RadioButtonTotalStartW = MakeRadio(QStringLiteral("週"), "RadioButtonTotalStartW", panel);
  ui.TotalStartGroup = new QButtonGroup(this);
  ui.TotalStartGroup->addButton(ui.RadioButtonTotalStartY, 1);
  ui.TotalStartGroup->addButton(ui.RadioButtonTotalStartM, 2);
  ui.TotalStartGroup->addButton(ui.RadioButtonTotalStartW, 3);

  ui.CheckBoxTotalCode = new QCheckBox(QStringLiteral("銘柄指定"), panel);
  ui.CheckBoxTotalCode->setObjectName(QStringLiteral("CheckBoxTotalCode"));
  ui.MaskEditStockCodeTotal = MakeCodeEdit(QStringLiteral("MaskEditStockCodeTotal"), panel);
  ui.ComboBoxStockCodeTotal = MakeCombo(QStringLiteral("ComboBoxStockCodeTotal"), panel);
  // Only the arrow shows beside the code field; the list opens wide enough
  // for the codes with their names.
  ui.ComboBoxStockCodeTotal->setFixedWidth(kRecentCodesButtonWidth);
  ui.ComboBoxStockCodeTotal->view()->setMinimumWidth(kRecentCodesDropDownWidth);
  ui.EditStockNameTotal = MakeTextEdit(QStringLiteral("EditStockNameTotal"), panel);
  ui.EditStockNameTotal->setReadOnly(true);
  // The stock fields wait for "銘柄指定".
  for (QWidget* field :
       {static_cast<QWidget*>(ui.MaskEditStockCodeTotal), static_cast<QWidget*>(ui.ComboBoxStockCodeTotal),
        static_cast<QWidget*>(ui.EditStockNameTotal)}) {
    SetFieldEnabled(field, false);
  }

  ui.ListViewTotal = MakeListView(QStringLiteral("ListViewTotal"), ui.Splitter);
  ui.Model = new LedgerModel(&table_, Columns(), this);
  ui.ListViewTotal->setModel(ui.Model);
  ApplyColumns(ui.ListViewTotal, ui.Model->columns());
}

void TotalsTab::createLayout() {
  QWidget* panel = ui.PanelTotal;
  QGroupBox* modeBox = MakeChoiceBox(panel, {ui.RadioButtonTotalD, ui.RadioButtonTotalM});
  QGroupBox* startBox =
      MakeChoiceBox(panel, {ui.RadioButtonTotalStartY, ui.RadioButtonTotalStartM, ui.RadioButtonTotalStartW});

  auto* period = new QHBoxLayout;
  period->setSpacing(3);
  period->addWidget(MakeLabel(QStringLiteral("開始"), panel));
  period->addWidget(ui.DateTimePickerTotalF);
  period->addWidget(MakeLabel(QStringLiteral("～"), panel));
  period->addWidget(MakeLabel(QStringLiteral("終了"), panel));
  period->addWidget(ui.DateTimePickerTotalT);
  period->addStretch(1);

  auto* stock = new QHBoxLayout;
  stock->setSpacing(3);
  stock->addWidget(ui.CheckBoxTotalCode);
  stock->addSpacing(3);
  stock->addWidget(ui.MaskEditStockCodeTotal);
  stock->addSpacing(-2);
  stock->addWidget(ui.ComboBoxStockCodeTotal);
  stock->addWidget(ui.EditStockNameTotal, 1);

  ui.ButtonTotal->setMinimumHeight(48);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(4, 4, 4, 4);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  grid->addWidget(ui.ButtonTotal, 0, 0, 2, 1);
  grid->addWidget(modeBox, 0, 1);
  grid->addLayout(period, 0, 2);
  grid->addWidget(startBox, 1, 1);
  grid->addLayout(stock, 1, 2);
  grid->setColumnStretch(2, 1);

  PlacePanelOverList(this, ui.Splitter, panel->sizeHint().height());
}

void TotalsTab::createConnections() {}

void TotalsTab::applySettings(const core::Settings& settings) {
  ApplyWidths(ui.ListViewTotal, settings.totalColumns, 0);
  SetComboItems(ui.ComboBoxStockCodeTotal, settings.recentTotalStocks);
  if (QAbstractButton* start = ui.TotalStartGroup->button(settings.startYMW)) start->setChecked(true);
  if (settings.totalM) ui.RadioButtonTotalM->setChecked(true);
}

void TotalsTab::collectSettings(core::Settings& settings) const {
  CollectWidths(ui.ListViewTotal, settings.totalColumns, 0);
  settings.recentTotalStocks = ComboItems(ui.ComboBoxStockCodeTotal);
  settings.startYMW = ui.RadioButtonTotalStartY->isChecked() ? 1 : ui.RadioButtonTotalStartW->isChecked() ? 3 : 2;
  settings.totalM = ui.RadioButtonTotalM->isChecked();
}

}  // namespace tomvik::app
