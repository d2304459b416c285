#include "app/window/summary_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "core/records/amount.h"

namespace tomvik::app {

namespace {

QString Figure(core::Amount value) { return ToQString(core::FormatAmount(value)); }

// Rewriting a field with its own text would move the cursor of a user typing in it.
void Show(QLineEdit* memo, const QString& text) {
  if (memo->text() != text) memo->setText(text);
}

}  // namespace

SummaryPanel::SummaryPanel(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("PanelTop"));
  setFrameShape(QFrame::StyledPanel);
  ui.MemoTotal2 = MakeMemo(QStringLiteral("MemoTotal2"), this);
  ui.MemoBSPM2 = MakeMemo(QStringLiteral("MemoBSPM2"), this);
  ui.MemoInPM2 = MakeMemo(QStringLiteral("MemoInPM2"), this);
  ui.MemoHold2 = MakeMemo(QStringLiteral("MemoHold2"), this);
  ui.MemoEnable2 = MakeMemo(QStringLiteral("MemoEnable2"), this);
  ui.MemoRemain2 = MakeMemo(QStringLiteral("MemoRemain2"), this);
  ui.MemoHoldLB = MakeMemo(QStringLiteral("MemoHoldLB"), this);
  ui.MemoHoldLS = MakeMemo(QStringLiteral("MemoHoldLS"), this);
  SetTextColour(ui.MemoHoldLB, kRed);
  SetTextColour(ui.MemoHoldLS, kBlue);
  ui.LabelHold2 = MakeLabel(QStringLiteral("保有総額"), this, QStringLiteral("LabelHold2"));
  ui.LabelEnable2 = MakeLabel(QStringLiteral("投資可能"), this, QStringLiteral("LabelEnable2"));
  ui.LabelHoldLB = MakeLabel(QStringLiteral("買建総額"), this, QStringLiteral("LabelHoldLB"));
  ui.LabelHoldLS = MakeLabel(QStringLiteral("売建総額"), this, QStringLiteral("LabelHoldLS"));
  ui.CheckBoxInPM2 = new QCheckBox(QStringLiteral("加算"), this);
  ui.CheckBoxInPM2->setObjectName(QStringLiteral("CheckBoxInPM2"));
  ui.CheckBoxInPM2->setChecked(true);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 3, 6, 3);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);
  auto place = [grid](QWidget* label, QWidget* memo, int row, int pair) {
    grid->addWidget(label, row, pair * 3, Qt::AlignRight);
    grid->addWidget(memo, row, pair * 3 + 1);
  };
  place(MakeLabel(QStringLiteral("投資総額"), this), ui.MemoTotal2, 0, 0);
  place(MakeLabel(QStringLiteral("売買損益"), this), ui.MemoBSPM2, 0, 1);
  place(ui.LabelHold2, ui.MemoHold2, 0, 2);
  place(ui.LabelHoldLB, ui.MemoHoldLB, 0, 2);
  place(MakeLabel(QStringLiteral("現在残高"), this), ui.MemoRemain2, 1, 0);
  auto* unrealised = new QHBoxLayout;
  unrealised->setSpacing(2);
  unrealised->addWidget(ui.MemoInPM2, 1);
  unrealised->addWidget(ui.CheckBoxInPM2);
  grid->addWidget(MakeLabel(QStringLiteral("含み損益"), this), 1, 3, Qt::AlignRight);
  grid->addLayout(unrealised, 1, 4);
  place(ui.LabelEnable2, ui.MemoEnable2, 1, 2);
  place(ui.LabelHoldLS, ui.MemoHoldLS, 1, 2);
  for (int pair = 0; pair < 3; ++pair) {
    grid->setColumnStretch(pair * 3 + 1, 1);
    if (pair < 2) grid->setColumnMinimumWidth(pair * 3 + 2, 8);
  }
  showPositionTotals(false);
  setStoredFiguresEditable(false);
}

void SummaryPanel::showSummary(const core::Books& books) {
  const core::Summary& s = books.summary;
  Show(ui.MemoTotal2, ToQString(books.figures.totalInvestment));
  Show(ui.MemoBSPM2, ToQString(books.figures.realised));
  ShowSignColour(ui.MemoBSPM2, core::ParseAmount(books.figures.realised));
  Show(ui.MemoHold2, Figure(s.holdingsTotal));
  Show(ui.MemoInPM2, Figure(s.unrealised));
  ShowSignColour(ui.MemoInPM2, s.unrealised);
  Show(ui.MemoHoldLB, Figure(s.buyPositions));
  Show(ui.MemoHoldLS, Figure(s.sellPositions));
  Show(ui.MemoEnable2, Figure(s.available));
  // Only a shortfall has a colour of its own.
  SetTextColour(ui.MemoEnable2, s.available < 0 ? kRed : StandardColour(this, QPalette::Text));
  Show(ui.MemoRemain2, Figure(s.balance));
}

void SummaryPanel::showPositionTotals(bool shown) {
  ui.LabelHoldLB->setVisible(shown);
  ui.MemoHoldLB->setVisible(shown);
  ui.LabelHoldLS->setVisible(shown);
  ui.MemoHoldLS->setVisible(shown);
  ui.LabelHold2->setVisible(!shown);
  ui.MemoHold2->setVisible(!shown);
  ui.LabelEnable2->setVisible(!shown);
  ui.MemoEnable2->setVisible(!shown);
}

void SummaryPanel::setStoredFiguresEditable(bool editable) {
  for (QLineEdit* memo : {ui.MemoTotal2, ui.MemoBSPM2}) {
    memo->setReadOnly(!editable);
    memo->setFocusPolicy(editable ? Qt::StrongFocus : Qt::ClickFocus);
    // Editable on the window colour, locked on the button face.
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, StandardColour(this, editable ? QPalette::Base : QPalette::Button));
    memo->setPalette(palette);
  }
}

}  // namespace tomvik::app
