// The diary tab's widgets, their layout and their connections.
#include "app/diary/diary_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStackedLayout>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

#include "app/shell/entry_fields.h"
#include "app/shell/keyboard.h"
#include "app/shell/prompter.h"
#include "app/shell/settings_widgets.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/shell/window_services.h"
#include "core/diary/entry_amounts.h"
#include "core/diary/trade_kinds.h"
#include "core/records/cp932_literals.h"
#include "core/records/date.h"
#include "core/records/diary_file.h"
#include "core/records/hold_file.h"
#include "core/records/loan_file.h"
#include "core/stocks/stock_lookup.h"

namespace tomvik::app {

namespace {

// The entry panel is at least this high above the list.
constexpr int kPanelHeight = 168;

}  // namespace

std::vector<ColumnSpec> DiaryTab::Columns() {
  namespace C = core::DiaryCol;
  const Qt::Alignment left = Qt::AlignLeft;
  const Qt::Alignment right = Qt::AlignRight;
  return {
      {QStringLiteral("日付"), Cell(C::Date), right, 106},
      {QStringLiteral("取引"), Cell(C::Kind), Qt::AlignHCenter, 38, true},
      {QStringLiteral("銘柄"), Cell(C::Stock), left, 100},
      {QStringLiteral("取引所"), Cell(C::Exchange), left, 56},
      {QStringLiteral("単価"), Cell(C::Price), right, 50},
      {QStringLiteral("数量"), Cell(C::Quantity), right, 50},
      {QStringLiteral("手数料"), Cell(C::Charge), right, 50},
      {QStringLiteral("税"), Cell(C::Tax), right, 30},
      {QStringLiteral("金額"), Cell(C::Amount), right, 70},
      {QStringLiteral("保有"), Cell(C::Cost), right, 55},
      {QStringLiteral("損益"), Cell(C::Profit), right, 55},
      {QStringLiteral("コメント"), Cell(C::Comment), left, 70},
  };
}

void DiaryTab::createWidgets() {
  ui.Splitter = new QSplitter(Qt::Vertical, this);
  ui.Splitter->setObjectName(QStringLiteral("SplitterDiary"));
  ui.PanelDiary = new QFrame(ui.Splitter);
  ui.PanelDiary->setObjectName(QStringLiteral("PanelDiary"));
  QWidget* panel = ui.PanelDiary;

  ui.DateTimePicker = MakeDatePicker(QStringLiteral("DateTimePicker"), panel);
  ui.RadioButtonMode0 = MakeRadio(QStringLiteral("日記"), "RadioButtonMode0", panel);
  ui.RadioButtonMode1 = MakeRadio(QStringLiteral("取引"), "RadioButtonMode1", panel);
  ui.RadioButtonMode0->setChecked(true);
  ui.CheckBoxInOut = MakeCheck(QStringLiteral("入出金"), "CheckBoxInOut", panel);
  ui.CheckBoxInOut->setToolTip(QStringLiteral("入出金"));

  ui.ComboBoxPlan = MakeCombo(QStringLiteral("ComboBoxPlan"), panel, false);
  ui.ComboBoxPlan->addItems({QStringLiteral("現物"), QStringLiteral("信用"), QStringLiteral("予定")});
  ui.ComboBoxPlan->setCurrentIndex(0);
  ui.CheckBoxKeep = MakeCheck(QStringLiteral("保有"), "CheckBoxKeep", panel);

  ui.GroupBoxKind1 = new QGroupBox(panel);
  ui.GroupBoxKind1->setObjectName(QStringLiteral("GroupBoxKind1"));
  ui.RadioButtonB = MakeRadio(QStringLiteral("買い"), "RadioButtonB", ui.GroupBoxKind1);
  ui.RadioButtonS = MakeRadio(QStringLiteral("売り"), "RadioButtonS", ui.GroupBoxKind1);
  ui.RadioButtonB->setChecked(true);
  SetTextColour(ui.RadioButtonB, kRed);
  SetTextColour(ui.RadioButtonS, kBlue);

  ui.GroupBoxKind2 = new QGroupBox(panel);
  ui.GroupBoxKind2->setObjectName(QStringLiteral("GroupBoxKind2"));
  ui.MemoHoldPrice = MakeAmountEdit(QStringLiteral("MemoHoldPrice"), ui.GroupBoxKind2, QStringLiteral("0"));
  LimitTypedLength(ui.MemoHoldPrice, kMemoLength);
  ui.LabelHoldKind = MakeLabel(QStringLiteral("買い"), ui.GroupBoxKind2, QStringLiteral("LabelHoldKind"));
  SetTextColour(ui.LabelHoldKind, kRed);
  ui.GroupBoxKind2->setVisible(false);

  ui.MaskEditStockCode = MakeCodeEdit(QStringLiteral("MaskEditStockCode"), panel);
  ui.ComboBoxStockCode = MakeCombo(QStringLiteral("ComboBoxStockCode"), panel, false);
  ui.ComboBoxStockCode->setMaxVisibleItems(15);
  ui.ComboBoxStockCode->setFixedWidth(18);
  ui.ComboBoxStockCode->view()->setMinimumWidth(207);
  ui.EditStockName = MakeTextEdit(QStringLiteral("EditStockName"), panel);
  ui.ComboBoxStockExchange = MakeCombo(QStringLiteral("ComboBoxStockExchange"), panel);
  FillBuiltInExchanges(ui.ComboBoxStockExchange);
  ui.EditStockUnit = MakeAmountEdit(QStringLiteral("EditStockUnit"), panel);

  ui.GroupBoxPrice = new QGroupBox(panel);
  ui.GroupBoxPrice->setObjectName(QStringLiteral("GroupBoxPrice"));
  QWidget* price = ui.GroupBoxPrice;
  ui.EditPrice = MakeAmountEdit(QStringLiteral("EditPrice"), price, QStringLiteral("0"));
  ui.UpDownPrice = new UpDownArrows(QStringLiteral("UpDownPrice"), price);
  ui.EditNum = MakeAmountEdit(QStringLiteral("EditNum"), price, QStringLiteral("0"));
  ui.UpDownNum = new UpDownArrows(QStringLiteral("UpDownNum"), price);
  ui.ComboBoxCharge = MakeCombo(QStringLiteral("ComboBoxCharge"), price);
  ui.ComboBoxCharge->lineEdit()->setAlignment(Qt::AlignRight);
  ui.CheckBoxChargeFix = MakeCheck(QStringLiteral("定額"), "CheckBoxChargeFix", price);
  ui.CheckBoxChargeFix->setToolTip(QStringLiteral("定額"));
  ui.EditTax = MakeAmountEdit(QStringLiteral("EditTax"), price, QStringLiteral("0"));
  ui.MemoPrice = MakeMemo(QStringLiteral("MemoPrice"), price);
  ui.RadioButtonIn = MakeRadio(QStringLiteral("入"), "RadioButtonIn", price);
  ui.RadioButtonOut = MakeRadio(QStringLiteral("出"), "RadioButtonOut", price);
  ui.RadioButtonIn->setChecked(true);
  ui.EditInOut = MakeAmountEdit(QStringLiteral("EditInOut"), price, QStringLiteral("0"));

  ui.RichEditDiary = MakeCommentBox(QStringLiteral("RichEditDiary"), panel);
  ui.ButtonDiaryAdd = new QPushButton(QStringLiteral("追加"), panel);
  ui.ButtonDiaryAdd->setObjectName(QStringLiteral("ButtonDiaryAdd"));
  ui.ButtonDiaryUpd = new QPushButton(QStringLiteral("更新"), panel);
  ui.ButtonDiaryUpd->setObjectName(QStringLiteral("ButtonDiaryUpd"));
  ui.ButtonDiaryDel = new QPushButton(QStringLiteral("削除"), panel);
  ui.ButtonDiaryDel->setObjectName(QStringLiteral("ButtonDiaryDel"));
  for (QPushButton* button : {ui.ButtonDiaryAdd, ui.ButtonDiaryUpd, ui.ButtonDiaryDel}) button->setEnabled(false);

  ui.ListViewDiary = MakeListView(QStringLiteral("ListViewDiary"), ui.Splitter);
  // One line per row: each day is its header, its trades and its end
  // marker, an empty line that closes the day's block.
  ui.Model = new LedgerModel(&books_.diary, Columns(), this);
  ui.ListViewDiary->setModel(ui.Model);
  ApplyColumns(ui.ListViewDiary, ui.Model->columns());
}

void DiaryTab::createLayout() {
  QWidget* panel = ui.PanelDiary;
  auto* modeBox = new QGroupBox(panel);
  auto* modeRow = new QHBoxLayout(modeBox);
  modeRow->setContentsMargins(6, 0, 6, 0);
  modeRow->addWidget(ui.RadioButtonMode0);
  modeRow->addWidget(ui.RadioButtonMode1);
  modeRow->addSpacing(6);
  modeRow->addWidget(ui.CheckBoxInOut);
  ui.RadioButtonMode0->setParent(modeBox);
  ui.RadioButtonMode1->setParent(modeBox);
  ui.CheckBoxInOut->setParent(modeBox);

  auto* kind1 = new QHBoxLayout(ui.GroupBoxKind1);
  kind1->setContentsMargins(6, 0, 6, 0);
  kind1->addWidget(ui.RadioButtonB);
  kind1->addWidget(ui.RadioButtonS);
  auto* kind2 = new QHBoxLayout(ui.GroupBoxKind2);
  kind2->setContentsMargins(4, 0, 4, 0);
  kind2->setSpacing(2);
  kind2->addWidget(ui.MemoHoldPrice, 1);
  kind2->addWidget(MakeLabel(QStringLiteral("円"), ui.GroupBoxKind2));
  kind2->addSpacing(4);
  kind2->addWidget(ui.LabelHoldKind);
  // The registration amount lies at the place of the side buttons.
  auto* kindStack = new QStackedLayout;
  kindStack->setStackingMode(QStackedLayout::StackAll);
  kindStack->addWidget(ui.GroupBoxKind2);
  kindStack->addWidget(ui.GroupBoxKind1);

  auto* typeRow = new QHBoxLayout;
  typeRow->setSpacing(4);
  typeRow->addWidget(ui.ComboBoxPlan);
  typeRow->addWidget(ui.CheckBoxKeep);
  typeRow->addLayout(kindStack, 1);

  auto* dateRow = new QHBoxLayout;
  dateRow->setSpacing(4);
  dateRow->addWidget(ui.DateTimePicker);
  dateRow->addWidget(modeBox, 1);

  auto* stockRow = new QHBoxLayout;
  stockRow->setSpacing(3);
  stockRow->addWidget(MakeLabel(QStringLiteral("銘柄"), panel));
  stockRow->addWidget(ui.MaskEditStockCode);
  stockRow->addSpacing(-3);
  stockRow->addWidget(ui.ComboBoxStockCode);
  stockRow->addWidget(ui.EditStockName, 1);
  stockRow->addWidget(ui.ComboBoxStockExchange);
  ui.ComboBoxStockExchange->setMinimumContentsLength(6);
  ui.ComboBoxStockExchange->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  stockRow->addWidget(MakeLabel(QStringLiteral("単位"), panel));
  stockRow->addWidget(ui.EditStockUnit);
  ui.EditStockUnit->setFixedWidth(44);

  QWidget* price = ui.GroupBoxPrice;
  auto withArrows = [](QLineEdit* edit, UpDownArrows* arrows) {
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(edit, 1);
    row->addWidget(arrows);
    return row;
  };
  auto* priceGrid = new QGridLayout(price);
  priceGrid->setContentsMargins(6, 2, 6, 2);
  priceGrid->setHorizontalSpacing(4);
  priceGrid->setVerticalSpacing(2);
  priceGrid->addWidget(MakeLabel(QStringLiteral("単価"), price), 0, 0);
  priceGrid->addLayout(withArrows(ui.EditPrice, ui.UpDownPrice), 0, 1);
  priceGrid->addWidget(MakeLabel(QStringLiteral("数量"), price), 0, 2);
  priceGrid->addLayout(withArrows(ui.EditNum, ui.UpDownNum), 0, 3);
  priceGrid->addWidget(MakeLabel(QStringLiteral("手数料"), price), 1, 0);
  auto* chargeRow = new QHBoxLayout;
  chargeRow->setSpacing(2);
  chargeRow->addWidget(ui.ComboBoxCharge, 1);
  chargeRow->addWidget(ui.CheckBoxChargeFix);
  priceGrid->addLayout(chargeRow, 1, 1);
  priceGrid->addWidget(MakeLabel(QStringLiteral("税"), price), 1, 2);
  priceGrid->addWidget(ui.EditTax, 1, 3);
  auto* inOutRow = new QHBoxLayout;
  inOutRow->setSpacing(4);
  inOutRow->addWidget(ui.RadioButtonIn);
  inOutRow->addWidget(ui.RadioButtonOut);
  priceGrid->addLayout(inOutRow, 2, 0, 1, 2);
  priceGrid->addWidget(ui.EditInOut, 2, 3);
  priceGrid->addWidget(MakeLabel(QStringLiteral("金額"), price), 3, 0);
  auto* amountRow = new QHBoxLayout;
  amountRow->setSpacing(2);
  amountRow->addWidget(ui.MemoPrice, 1);
  amountRow->addWidget(MakeLabel(QStringLiteral("円"), price));
  priceGrid->addLayout(amountRow, 3, 1, 1, 3);
  priceGrid->setColumnStretch(1, 3);
  priceGrid->setColumnStretch(3, 2);
  // The 入/出 row waits for the cash movement box.
  for (QWidget* w : {static_cast<QWidget*>(ui.RadioButtonIn), static_cast<QWidget*>(ui.RadioButtonOut),
                     static_cast<QWidget*>(ui.EditInOut)}) {
    w->setVisible(false);
  }

  auto* left = new QVBoxLayout;
  left->setSpacing(2);
  left->addLayout(dateRow);
  left->addLayout(typeRow);
  left->addLayout(stockRow);
  left->addWidget(ui.GroupBoxPrice);
  left->addStretch(1);

  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(4);
  buttons->addWidget(ui.ButtonDiaryAdd);
  buttons->addWidget(ui.ButtonDiaryUpd);
  buttons->addWidget(ui.ButtonDiaryDel);
  buttons->addStretch(1);
  for (QPushButton* button : {ui.ButtonDiaryAdd, ui.ButtonDiaryUpd, ui.ButtonDiaryDel}) button->setFixedWidth(56);

  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(4, 3, 4, 3);
  row->setSpacing(6);
  row->addLayout(left, 3);
  row->addWidget(ui.RichEditDiary, 2);
  row->addLayout(buttons);

  PlacePanelOverList(this, ui.Splitter, qMax(kPanelHeight, panel->sizeHint().height()));
}

void DiaryTab::createConnections() {
  connect(ui.DateTimePicker, &QDateEdit::dateChanged, this, [this] { DateTimePickerChange(true); });
  connect(ui.RadioButtonMode0, &QRadioButton::clicked, this, [this] { RadioButtonModeClick(true); });
  connect(ui.RadioButtonMode1, &QRadioButton::clicked, this, [this] { RadioButtonModeClick(true); });
  connect(ui.CheckBoxInOut, &QCheckBox::clicked, this, [this] { CheckBoxInOutClick(true); });
  connect(ui.CheckBoxChargeFix, &QCheckBox::clicked, this, [this] { CheckBoxChargeFixClick(true); });
  connect(ui.ComboBoxPlan, &QComboBox::currentIndexChanged, this, [this] { ComboBoxPlanChange(true); });
  connect(ui.CheckBoxKeep, &QCheckBox::clicked, this, &DiaryTab::CheckBoxKeepClick);

  auto price = [this] { EditPriceChange(true); };
  connect(ui.EditPrice, &QLineEdit::textChanged, this, price);
  connect(ui.EditNum, &QLineEdit::textChanged, this, price);
  connect(ui.RadioButtonB, &QRadioButton::clicked, this, price);
  connect(ui.RadioButtonS, &QRadioButton::clicked, this, price);
  auto cash = [this] { EditPriceChange2(true); };
  connect(ui.EditInOut, &QLineEdit::textChanged, this, cash);
  connect(ui.RadioButtonIn, &QRadioButton::clicked, this, cash);
  connect(ui.RadioButtonOut, &QRadioButton::clicked, this, cash);
  connect(ui.ComboBoxCharge, &QComboBox::editTextChanged, this, [this] { ComboBoxChargeChange(true); });
  connect(ui.ComboBoxCharge, &QComboBox::activated, this, &DiaryTab::ComboBoxChargeSelect);
  connect(ui.EditTax, &QLineEdit::textChanged, this, [this] { ComboBoxChargeChange(true); });

  for (QLineEdit* field : {ui.EditPrice, ui.EditNum, ui.EditTax, ui.EditInOut, ui.EditStockUnit, ui.MemoHoldPrice}) {
    InstallNumericKeyFilter(field, setupModeQuery());
  }
  for (QLineEdit* field : {ui.EditPrice, ui.EditNum, ui.EditTax, ui.EditInOut, ui.MemoHoldPrice})
    NormaliseOnExit(field);
  NormaliseOnExit(ui.ComboBoxCharge, [this] { PushRecentCharge(ui.ComboBoxCharge, ui.ComboBoxCharge->currentText()); });
  ConnectStepper(ui.UpDownPrice, ui.EditPrice, [] { return core::Amount{1}; });
  ConnectStepper(ui.UpDownNum, ui.EditNum, [this] { return unitStep_; });

  // The stock: looked up on leaving the code, written back on leaving its details.
  ui.MaskEditStockCode->installEventFilter(this);
  for (QWidget* detail : {static_cast<QWidget*>(ui.EditStockName), static_cast<QWidget*>(ui.EditStockUnit),
                          static_cast<QWidget*>(ui.ComboBoxStockExchange)}) {
    detail->installEventFilter(this);
  }
  if (ui.ComboBoxStockExchange->lineEdit()) ui.ComboBoxStockExchange->lineEdit()->installEventFilter(this);
  auto update = [this] { cmnUpdate(true); };
  connect(ui.MaskEditStockCode, &QLineEdit::textEdited, this, update);
  connect(ui.EditStockName, &QLineEdit::textChanged, this, update);
  connect(ui.MemoHoldPrice, &QLineEdit::textEdited, this, update);
  connect(ui.ComboBoxStockExchange, &QComboBox::editTextChanged, this, [this] {
    exchangeChanged_ = true;
    cmnUpdate(true);
  });
  connect(ui.EditStockUnit, &QLineEdit::textChanged, this, &DiaryTab::EditStockUnitChange);
  ConnectRecentCodes(ui.ComboBoxStockCode, ui.MaskEditStockCode, ui.EditStockName, [this] { MaskEditStockCodeExit(); });
  connect(ui.RichEditDiary, &QPlainTextEdit::textChanged, this, [this] {
    if (!loading_) cmnUpdate0(true);
  });

  connect(ui.ButtonDiaryAdd, &QPushButton::clicked, this, &DiaryTab::ButtonDiaryAddClick);
  connect(ui.ButtonDiaryUpd, &QPushButton::clicked, this, &DiaryTab::ButtonDiaryUpdClick);
  connect(ui.ButtonDiaryDel, &QPushButton::clicked, this, &DiaryTab::ButtonDiaryDelClick);
  connect(ui.ListViewDiary->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &DiaryTab::ListViewDiarySelectItem);
  connect(ui.ListViewDiary, &QTreeView::doubleClicked, this, &DiaryTab::ListViewDiaryDblClick);
  ui.ListViewDiary->installEventFilter(this);
}

}  // namespace tomvik::app
