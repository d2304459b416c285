#include "app/simulation/sim_summary_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QStyle>

#include "app/shell/entry_fields.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"

namespace tomvik::app {

namespace {

constexpr int kFigureWidth = 104;

// The two stored figures sit on the button face, as on the real summary
// outside the initial-setup mode.
void ShowAsLocked(QLineEdit* memo) {
  QPalette palette = memo->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Button));
  memo->setPalette(palette);
}

}  // namespace

SimSummaryPanel::SimSummaryPanel(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("PanelTopS"));
  createWidgets();
  createLayout();
  createConnections();
}

void SimSummaryPanel::createWidgets() {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  ui.MemoTotal2S = MakeMemo(QStringLiteral("MemoTotal2S"), this);
  ui.MemoBSPM2S = MakeMemo(QStringLiteral("MemoBSPM2S"), this);
  ui.MemoHold2S = MakeMemo(QStringLiteral("MemoHold2S"), this);
  ui.MemoRemain2S = MakeMemo(QStringLiteral("MemoRemain2S"), this);
  ui.MemoInPM2S = MakeMemo(QStringLiteral("MemoInPM2S"), this);
  ui.MemoEnable2S = MakeMemo(QStringLiteral("MemoEnable2S"), this);
  ShowAsLocked(ui.MemoTotal2S);
  ShowAsLocked(ui.MemoBSPM2S);
  // Ticked like the setting's default until the window restores the real
  // summary's state.
  ui.CheckBoxInPM2S = new QCheckBox(QStringLiteral("加算"), this);
  ui.CheckBoxInPM2S->setObjectName(QStringLiteral("CheckBoxInPM2S"));
  ui.CheckBoxInPM2S->setChecked(true);
}

void SimSummaryPanel::createLayout() {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 3, 6, 3);
  grid->setHorizontalSpacing(3);
  grid->setVerticalSpacing(3);
  struct Figure {
    const char* caption;
    QLineEdit* memo;
  };
  const Figure figures[2][3] = {
      {{"投資総額", ui.MemoTotal2S}, {"売買損益", ui.MemoBSPM2S}, {"保有総額", ui.MemoHold2S}},
      {{"現在残高", ui.MemoRemain2S}, {"含み損益", ui.MemoInPM2S}, {"投資可能", ui.MemoEnable2S}},
  };
  // Each figure takes a caption, its box and "円"; a gap column follows the
  // first and the second figure (the second one's holds "加算").
  for (int row = 0; row < 2; ++row) {
    for (int i = 0; i < 3; ++i) {
      const Figure& figure = figures[row][i];
      const int column = i * 4;
      figure.memo->setFixedWidth(kFigureWidth);
      grid->addWidget(MakeLabel(QString::fromUtf8(figure.caption), this), row, column);
      grid->addWidget(figure.memo, row, column + 1);
      grid->addWidget(MakeLabel(QStringLiteral("円"), this), row, column + 2);
    }
  }
  grid->addWidget(ui.CheckBoxInPM2S, 1, 7);
  grid->setColumnMinimumWidth(3, 8);
  grid->setColumnStretch(12, 1);
}

void SimSummaryPanel::createConnections() {
  connect(ui.CheckBoxInPM2S, &QCheckBox::clicked, this, &SimSummaryPanel::CheckBoxInPM2SClick);
}

void SimSummaryPanel::ResetSimSummary(const core::Books& books, std::string_view code) {
  const core::SimSummaryReset reset = core::ResetSimSummary(books, code);
  base_ = reset.base;
  showFigures(reset.figures);
  ui.CheckBoxInPM2S->setChecked(books.includeUnrealised);
}

void SimSummaryPanel::UpdateSimSummary(const core::LedgerTable& rows) {
  showFigures(core::UpdateSimSummary(base_, rows, ui.CheckBoxInPM2S->isChecked()));
}

void SimSummaryPanel::showFigures(const core::SimSummaryFigures& f) {
  ui.MemoTotal2S->setText(ToQString(f.invested));
  ui.MemoRemain2S->setText(ToQString(f.balance));
  ui.MemoBSPM2S->setText(ToQString(f.realised));
  ShowSignColour(ui.MemoBSPM2S, f.realisedValue);
  ui.MemoInPM2S->setText(ToQString(f.unrealised));
  ShowSignColour(ui.MemoInPM2S, f.unrealisedValue);
  ui.MemoHold2S->setText(ToQString(f.holdings));
  ui.MemoEnable2S->setText(ToQString(f.available));
  // Only a shortfall has a colour of its own.
  SetTextColour(ui.MemoEnable2S, f.availableValue < 0 ? kRed : StandardColour(this, QPalette::Text));
}

void SimSummaryPanel::addUnrealisedToBalance(bool ticked) {
  const core::Amount balance = core::BalanceWithUnrealised(AmountOf(ui.MemoRemain2S), AmountOf(ui.MemoInPM2S), ticked);
  ui.MemoRemain2S->setText(AmountText(balance));
}

void SimSummaryPanel::CheckBoxInPM2SClick(bool ticked) {
  addUnrealisedToBalance(ticked);
  emit includeUnrealisedClicked(ticked);
}

void SimSummaryPanel::followIncludeUnrealised(bool ticked) {
  if (ui.CheckBoxInPM2S->isChecked() == ticked) return;
  ui.CheckBoxInPM2S->setChecked(ticked);
  addUnrealisedToBalance(ticked);
}

}  // namespace tomvik::app
