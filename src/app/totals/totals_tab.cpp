#include "app/totals/totals_tab.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/shell/entry_fields.h"
#include "app/shell/settings_widgets.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/totals/running_total_chart.h"
#include "app/totals/totals_calendar.h"
#include "app/totals/totals_dates.h"
#include "core/stocks/stock_lookup.h"

namespace tomvik::app {

namespace {

constexpr int kRecentCodesDropDownWidth = 207;
constexpr int kRecentCodesButtonWidth = 18;
constexpr int kRecentCodesShown = 15;

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
  ui.TotalStartGroup->addButton(ui.RadioButtonTotalStartY, static_cast<int>(core::TotalsPreset::Year));
  ui.TotalStartGroup->addButton(ui.RadioButtonTotalStartM, static_cast<int>(core::TotalsPreset::Month));
  ui.TotalStartGroup->addButton(ui.RadioButtonTotalStartW, static_cast<int>(core::TotalsPreset::Week));

  ui.CheckBoxTotalCode = MakeCheck(QStringLiteral("銘柄指定"), "CheckBoxTotalCode", panel);
  ui.MaskEditStockCodeTotal = MakeCodeEdit(QStringLiteral("MaskEditStockCodeTotal"), panel);
  // A drop-down list: a typed digit picks the first line that starts with it.
  ui.ComboBoxStockCodeTotal = MakeCombo(QStringLiteral("ComboBoxStockCodeTotal"), panel, false);
  ui.ComboBoxStockCodeTotal->setMaxVisibleItems(kRecentCodesShown);
  // Only the arrow shows beside the code field; the list opens wide enough
  // for the codes with their names.
  ui.ComboBoxStockCodeTotal->setFixedWidth(kRecentCodesButtonWidth);
  ui.ComboBoxStockCodeTotal->view()->setMinimumWidth(kRecentCodesDropDownWidth);
  ui.EditStockNameTotal = MakeTextEdit(QStringLiteral("EditStockNameTotal"), panel);
  ui.EditStockNameTotal->setReadOnly(true);

  ui.CheckBoxTotalChart = MakeCheck(QStringLiteral("グラフ"), "CheckBoxTotalChart", panel);
  ui.CheckBoxTotalChart->setToolTip(QStringLiteral("累計のグラフを表示"));
  ui.CheckBoxTotalCalendar = MakeCheck(QStringLiteral("カレンダー"), "CheckBoxTotalCalendar", panel);
  ui.CheckBoxTotalCalendar->setToolTip(QStringLiteral("日ごとの損益をカレンダーに表示"));

  ui.ListViewTotal = MakeListView(QStringLiteral("ListViewTotal"), ui.Splitter);
  ui.Model = new LedgerModel(&table_, Columns(), this);
  ui.ListViewTotal->setModel(ui.Model);
  ApplyColumns(ui.ListViewTotal, ui.Model->columns());

  ui.SplitterTotalViews = new QSplitter(Qt::Horizontal, ui.Splitter);
  ui.SplitterTotalViews->setObjectName(QStringLiteral("SplitterTotalViews"));
  ui.SplitterTotalViews->setChildrenCollapsible(false);
  ui.ChartTotal = new RunningTotalChart(ui.SplitterTotalViews);
  ui.CalendarTotal = new TotalsCalendar(ui.SplitterTotalViews);
  ui.SplitterTotalViews->setStretchFactor(0, 1);
  ui.SplitterTotalViews->setStretchFactor(1, 0);

  CheckBoxTotalCodeClick();
  showViews(views_);
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
  // The two views' switches share the row; the panel stays as wide as before.
  stock->addSpacing(6);
  stock->addWidget(ui.CheckBoxTotalChart);
  stock->addWidget(ui.CheckBoxTotalCalendar);

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
  // The list and the views below it share what the panel leaves.
  ui.Splitter->setStretchFactor(2, 1);
  ui.Splitter->setSizes({panel->sizeHint().height(), 500, 500});
}

void TotalsTab::createConnections() {
  connect(ui.ButtonTotal, &QPushButton::clicked, this, &TotalsTab::ButtonTotalClick);
  connect(ui.TotalStartGroup, &QButtonGroup::idClicked, this, &TotalsTab::RadioButtonTotalStartClick);
  connect(ui.RadioButtonTotalM, &QRadioButton::clicked, this, &TotalsTab::RadioButtonTotalMClick);
  for (QDateEdit* picker : {ui.DateTimePickerTotalF, ui.DateTimePickerTotalT}) {
    connect(picker, &QDateEdit::dateChanged, this, [this] {
      if (!settingDates_) DateTimePickerTotalChange();
    });
  }
  connect(ui.CheckBoxTotalCode, &QCheckBox::toggled, this, &TotalsTab::CheckBoxTotalCodeClick);

  // The stock: looked up on leaving the code, or when a recent code is chosen.
  ui.MaskEditStockCodeTotal->installEventFilter(this);
  connect(ui.ComboBoxStockCodeTotal, &QComboBox::activated, this, &TotalsTab::ComboBoxStockCodeTotalSelect);
  // Closing the drop-down (chosen or not) returns to the code field.
  ui.ComboBoxStockCodeTotal->view()->parentWidget()->installEventFilter(this);

  connect(ui.CheckBoxTotalChart, &QCheckBox::clicked, this, &TotalsTab::viewChoiceClicked);
  connect(ui.CheckBoxTotalCalendar, &QCheckBox::clicked, this, &TotalsTab::viewChoiceClicked);
  connect(ui.CalendarTotal, &TotalsCalendar::dayClicked, this, [this](QDate day) {
    if (services_) services_->showDiaryDate(day);
  });
}

// ---------------------------------------------------------------------------
// Settings

void TotalsTab::applySettings(const core::Settings& settings) {
  ApplyWidths(ui.ListViewTotal, settings.totalColumns, 0);
  SetComboItems(ui.ComboBoxStockCodeTotal, settings.recentTotalStocks);
  savedPreset_ = settings.startYMW;
  savedMonthly_ = settings.totalM;
  views_ = core::LoadTotalsViews(books_.folder);
  showViews(views_);
}

void TotalsTab::startAt(QDate endDate) {
  setPeriod(ui.DateTimePickerTotalF->date(), endDate);
  if (QAbstractButton* preset = ui.TotalStartGroup->button(savedPreset_)) {
    preset->setChecked(true);
    RadioButtonTotalStartClick(savedPreset_);
  }
  if (savedMonthly_) {
    ui.RadioButtonTotalM->setChecked(true);
    RadioButtonTotalMClick();
  }
}

void TotalsTab::collectSettings(core::Settings& settings) const {
  CollectWidths(ui.ListViewTotal, settings.totalColumns, 0);
  settings.recentTotalStocks = ComboItems(ui.ComboBoxStockCodeTotal);
  settings.startYMW = ui.RadioButtonTotalStartY->isChecked() ? 1 : ui.RadioButtonTotalStartW->isChecked() ? 3 : 2;
  settings.totalM = ui.RadioButtonTotalM->isChecked();
}

// ---------------------------------------------------------------------------
// The period

void TotalsTab::setPeriod(QDate from, QDate to) {
  settingDates_ = true;
  ui.DateTimePickerTotalF->setDate(from);
  ui.DateTimePickerTotalT->setDate(to);
  settingDates_ = false;
}

void TotalsTab::deselectPresets() {
  // An exclusive group keeps one button checked; none is allowed here.
  ui.TotalStartGroup->setExclusive(false);
  for (QAbstractButton* button : ui.TotalStartGroup->buttons()) button->setChecked(false);
  ui.TotalStartGroup->setExclusive(true);
}

void TotalsTab::RadioButtonTotalStartClick(int preset) {
  const QDate end = ui.DateTimePickerTotalT->date();
  setPeriod(QtDate(core::PresetStart(CoreDate(end), static_cast<core::TotalsPreset>(preset))), end);
}

void TotalsTab::RadioButtonTotalMClick() {
  const auto [from, to] =
      core::WholeMonths(CoreDate(ui.DateTimePickerTotalF->date()), CoreDate(ui.DateTimePickerTotalT->date()));
  setPeriod(QtDate(from), QtDate(to));
}

void TotalsTab::DateTimePickerTotalChange() {
  if (ui.RadioButtonTotalM->isChecked()) RadioButtonTotalMClick();
  deselectPresets();
}

// ---------------------------------------------------------------------------
// The computation

void TotalsTab::ButtonTotalClick() {
  const QDate from = ui.DateTimePickerTotalF->date();
  const QDate to = ui.DateTimePickerTotalT->date();
  core::TotalsQuery query;
  query.from = CoreDate(from);
  query.to = CoreDate(to);
  query.period = ui.RadioButtonTotalM->isChecked() ? core::TotalsPeriod::Monthly : core::TotalsPeriod::Daily;
  // An unticked "銘柄指定" means every stock, whatever its locked field holds.
  query.code =
      ui.CheckBoxTotalCode->isChecked() ? StockCodeOf(ui.MaskEditStockCodeTotal) : std::string(core::kNoStockCode);
  totals_ = core::ComputePeriodTotals(books_.folder, query);
  table_ = core::TotalsTable(totals_.rows);
  ui.Model->setTable(&table_);
  ui.ChartTotal->setRows(totals_.rows, query.period);
  ui.CalendarTotal->setDays(totals_.days, from, to);
  if (totals_.stop) reportStop(*totals_.stop);
}

void TotalsTab::reportStop(const core::TotalsStop& stop) {
  const QString file = ToQString(stop.fileName);
  QString message;
  if (stop.line > 0) {
    message = QStringLiteral("取引日記 %1 の %2 行目の日付を読み取れないため、集計をそこで止めました。\n%3\n")
                  .arg(file)
                  .arg(stop.line)
                  .arg(ToQString(stop.text));
  } else {
    message = QStringLiteral("取引日記 %1 を読み込めなかったため、集計をそこで止めました。\n%2\n")
                  .arg(file, ToQString(stop.text));
  }
  message += QStringLiteral("それまでの結果を表示しています。");
  if (services_) services_->prompter().showError(services_->window(), message);
}

// ---------------------------------------------------------------------------
// The stock

void TotalsTab::CheckBoxTotalCodeClick() {
  const bool on = ui.CheckBoxTotalCode->isChecked();
  for (QWidget* field :
       {static_cast<QWidget*>(ui.MaskEditStockCodeTotal), static_cast<QWidget*>(ui.ComboBoxStockCodeTotal),
        static_cast<QWidget*>(ui.EditStockNameTotal)}) {
    SetFieldEnabled(field, on);
  }
}

void TotalsTab::MaskEditStockCodeTotalExit() {
  const std::string code = StockCodeOf(ui.MaskEditStockCodeTotal);
  if (code == core::kNoStockCode) return;
  const core::StockDetails details = core::LookUpStock(books_, code);
  ui.EditStockNameTotal->setText(ToQString(details.name));
  PushRecentStockLine(ui.ComboBoxStockCodeTotal, code, details.name);
}

void TotalsTab::ComboBoxStockCodeTotalSelect(int index) {
  const QString line = ui.ComboBoxStockCodeTotal->itemText(index);
  if (line.trimmed().isEmpty()) return;
  ui.MaskEditStockCodeTotal->setText(line.left(4));
  // The focus may never pass through the code field: look the stock up here.
  MaskEditStockCodeTotalExit();
  ui.EditStockNameTotal->setFocus();
}

bool TotalsTab::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui.MaskEditStockCodeTotal) {
    if (event->type() == QEvent::FocusOut) MaskEditStockCodeTotalExit();
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        ui.EditStockNameTotal->setFocus();
        return true;
      }
    }
  } else if (event->type() == QEvent::Hide && watched == ui.ComboBoxStockCodeTotal->view()->parentWidget()) {
    ui.MaskEditStockCodeTotal->setFocus();
  }
  return TabBase::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// The chart and the calendar

void TotalsTab::showViews(const core::TotalsViews& views) {
  ui.CheckBoxTotalChart->setChecked(views.chart);
  ui.CheckBoxTotalCalendar->setChecked(views.calendar);
  ui.ChartTotal->setVisible(views.chart);
  ui.CalendarTotal->setVisible(views.calendar);
  ui.SplitterTotalViews->setVisible(views.chart || views.calendar);
}

void TotalsTab::viewChoiceClicked() {
  views_ = core::TotalsViews{ui.CheckBoxTotalChart->isChecked(), ui.CheckBoxTotalCalendar->isChecked()};
  showViews(views_);
  // Only a preference: a file that cannot be written costs the choice, not work.
  (void)core::SaveTotalsViews(books_.folder, views_);
}

}  // namespace tomvik::app
