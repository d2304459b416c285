#include "app/import/trade_import_dialog.h"

#include <QBrush>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/import/import_texts.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"

namespace tomvik::app {

namespace {

QString Yen(core::Amount value) { return QString::fromStdString(core::FormatAmount(value)); }

const QColor kGrey(128, 128, 128);

bool IsFigureColumn(int column) {
  switch (column) {
    case ImportPreviewModel::kLine:
    case ImportPreviewModel::kQuantity:
    case ImportPreviewModel::kPrice:
    case ImportPreviewModel::kCharge:
    case ImportPreviewModel::kTax:
    case ImportPreviewModel::kBroker:
    case ImportPreviewModel::kAmount:
    case ImportPreviewModel::kResult: return true;
    default: return false;
  }
}

}  // namespace

ImportPreviewModel::ImportPreviewModel(const std::vector<core::ImportedTrade>& trades, std::vector<bool> recorded,
                                       QObject* parent)
    : QAbstractTableModel(parent), trades_(trades), recorded_(std::move(recorded)) {
  recorded_.resize(trades_.size(), false);
  ticked_.reserve(recorded_.size());
  for (bool inDiary : recorded_) ticked_.push_back(!inDiary);
  run_.outcomes.resize(trades_.size());
}

void ImportPreviewModel::setRun(core::ImportRun run) {
  run_ = std::move(run);
  run_.outcomes.resize(trades_.size());
  if (!trades_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1));
}

int ImportPreviewModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(trades_.size());
}

int ImportPreviewModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant ImportPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
  static const char16_t* const kCaptions[kColumnCount] = {u"取込", u"行",   u"約定日", u"取引", u"銘柄",
                                                          u"数量", u"単価", u"手数料", u"税",   u"受渡金額・損益",
                                                          u"記録", u"金額", u"損益",   u"注意"};
  return section >= 0 && section < kColumnCount ? QString::fromUtf16(kCaptions[section]) : QVariant();
}

Qt::ItemFlags ImportPreviewModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == kTick) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

QString ImportPreviewModel::text(int row, int column) const {
  const core::ImportedTrade& t = trades_[static_cast<std::size_t>(row)];
  const core::TradeOutcome& outcome = run_.outcomes[static_cast<std::size_t>(row)];
  const bool ticked = ticked_[static_cast<std::size_t>(row)];
  switch (column) {
    case kLine: return QString::number(t.line);
    case kDate: return QString::fromStdString(t.date);
    case kAction: return ActionText(t.action);
    case kStock: return QString::fromStdString(t.code) + QLatin1Char(' ') + ToQString(t.name);
    case kQuantity: return Yen(t.quantity);
    case kPrice: return PriceText(t.price);
    case kCharge: return Yen(t.charge);
    case kTax: return Yen(t.tax);
    case kBroker:
      if (t.brokerResult) return Yen(*t.brokerResult);
      return t.brokerAmount ? Yen(*t.brokerAmount) : QString();
    case kKinds:
      if (!ticked)
        return recorded_[static_cast<std::size_t>(row)] ? QStringLiteral("記録済み") : QStringLiteral("取り込まない");
      if (outcome.status == core::TradeStatus::Refused) return QStringLiteral("記録できない");
      return KindsText(outcome.kinds);
    case kAmount: return outcome.status == core::TradeStatus::Booked ? Yen(outcome.amount) : QString();
    case kResult:
      return outcome.status == core::TradeStatus::Booked && outcome.result ? Yen(*outcome.result) : QString();
    case kNotes: {
      if (!ticked)
        return recorded_[static_cast<std::size_t>(row)] ? QStringLiteral("取引日記に同じ取引があります") : QString();
      QStringList notes = NoticeTexts(outcome);
      if (outcome.status == core::TradeStatus::Refused) notes.prepend(RefusalText(outcome));
      return notes.join(QStringLiteral("。"));
    }
    default: return QString();
  }
}

QVariant ImportPreviewModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return QVariant();
  const auto row = static_cast<std::size_t>(index.row());
  switch (role) {
    case Qt::DisplayRole: return text(index.row(), index.column());
    case Qt::ToolTipRole:
      // The notes are often longer than their column.
      if (index.column() == kNotes || index.column() == kKinds) return text(index.row(), kNotes);
      return QVariant();
    case Qt::CheckStateRole:
      if (index.column() == kTick) return ticked_[row] ? Qt::Checked : Qt::Unchecked;
      return QVariant();
    case Qt::TextAlignmentRole:
      return IsFigureColumn(index.column()) ? QVariant(static_cast<int>(Qt::AlignRight | Qt::AlignVCenter))
                                            : QVariant();
    case Qt::ForegroundRole:
      if (!ticked_[row]) return QBrush(kGrey);
      if (run_.outcomes[row].status == core::TradeStatus::Refused) return QBrush(kRed);
      if (index.column() == kNotes) return QBrush(kRed);
      if (index.column() == kResult && run_.outcomes[row].result) {
        return QBrush(*run_.outcomes[row].result < 0 ? kRed : kBlue);
      }
      return QVariant();
    default: return QVariant();
  }
}

bool ImportPreviewModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.column() != kTick || role != Qt::CheckStateRole) return false;
  const auto row = static_cast<std::size_t>(index.row());
  const bool tick = value.value<Qt::CheckState>() == Qt::Checked;
  if (ticked_[row] == tick) return true;
  ticked_[row] = tick;
  emit dataChanged(this->index(index.row(), 0), this->index(index.row(), kColumnCount - 1));
  emit tickChanged();
  return true;
}

TradeImportDialog::TradeImportDialog(const QString& fileName, const core::TradeHistory& history,
                                     std::vector<bool> recorded, Preview preview, QWidget* parent)
    : QDialog(parent), history_(history), preview_(std::move(preview)) {
  setObjectName(QStringLiteral("FormImport"));
  setWindowTitle(QStringLiteral("取引履歴の取り込み"));

  auto* source = new QLabel(
      QStringLiteral("%1　%2").arg(history.broker ? BrokerName(*history.broker) : QString(), fileName), this);
  source->setObjectName(QStringLiteral("LabelImportFile"));
  counts_ = new QLabel(this);
  counts_->setObjectName(QStringLiteral("LabelImportCount"));

  model_ = new ImportPreviewModel(history.trades, std::move(recorded), this);
  trades_ = MakeListView(QStringLiteral("ListViewImport"), this);
  trades_->setModel(model_);
  const int widths[ImportPreviewModel::kColumnCount] = {40, 36, 80, 76, 150, 60, 68, 52, 40, 100, 92, 80, 70, 300};
  for (int c = 0; c < ImportPreviewModel::kColumnCount; ++c) trades_->setColumnWidth(c, widths[c]);

  auto* skippedModel = new QStandardItemModel(0, 3, this);
  skippedModel->setHorizontalHeaderLabels(
      {QStringLiteral("行"), QStringLiteral("取り込まない理由"), QStringLiteral("内容")});
  for (const core::SkippedLine& line : history.skipped) {
    auto* number = new QStandardItem(QString::number(line.line));
    number->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    skippedModel->appendRow(
        {number, new QStandardItem(LineProblemText(line)), new QStandardItem(ToQString(line.text))});
  }
  auto* skipped = MakeListView(QStringLiteral("ListViewSkipped"), this);
  skipped->setModel(skippedModel);
  skipped->setColumnWidth(0, 44);
  skipped->setColumnWidth(1, 360);
  skipped->header()->setStretchLastSection(true);
  auto* skippedLabel = new QLabel(QStringLiteral("取り込まない行（%1 行）").arg(history.skipped.size()), this);

  import_ = MakeButton(QStringLiteral("取り込み"), "ButtonImport", this);
  import_->setDefault(true);
  auto* cancel = MakeButton(QStringLiteral("キャンセル"), "ButtonImportCancel", this);
  connect(import_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(model_, &ImportPreviewModel::tickChanged, this, &TradeImportDialog::refresh);

  auto* lower = new QWidget(this);
  auto* lowerColumn = new QVBoxLayout(lower);
  lowerColumn->setContentsMargins(0, 0, 0, 0);
  lowerColumn->addWidget(skippedLabel);
  lowerColumn->addWidget(skipped);
  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->addWidget(trades_);
  splitter->addWidget(lower);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(import_);
  buttons->addWidget(cancel);
  auto* column = new QVBoxLayout(this);
  column->addWidget(source);
  column->addWidget(counts_);
  column->addWidget(splitter, 1);
  column->addLayout(buttons);
  resize(1120, 640);

  refresh();
  trades_->setFocus();
  if (model_->rowCount() > 0) trades_->setCurrentIndex(model_->index(0, ImportPreviewModel::kTick));
}

void TradeImportDialog::refresh() {
  model_->setRun(preview_(model_->ticked()));
  const core::ImportRun& run = model_->run();
  std::size_t recorded = 0;
  std::size_t refused = 0;
  std::size_t notices = 0;
  for (std::size_t i = 0; i < run.outcomes.size(); ++i) {
    if (model_->recorded()[i] && !model_->ticked()[i]) ++recorded;
    if (run.outcomes[i].status == core::TradeStatus::Refused) ++refused;
    if (run.outcomes[i].status == core::TradeStatus::Booked && !run.outcomes[i].notices.empty()) ++notices;
  }
  QString text =
      QStringLiteral(
          "取引 %1 件：記録する取引 %2 件（日記の行 %3 行）、記録済み %4 件、記録できない取引 %5 件、注意 %6 件")
          .arg(history_.trades.size())
          .arg(run.booked)
          .arg(run.rows)
          .arg(recorded)
          .arg(refused)
          .arg(notices);
  if (run.failure) {
    text += QStringLiteral("\n%1 の取引日記を%2ため、それ以降の取引は記録できません。")
                .arg(QString::fromStdString(run.failure->monthKey),
                     run.failure->saving ? QStringLiteral("保存できない") : QStringLiteral("読み込めない"));
  }
  counts_->setText(text);
  import_->setEnabled(run.booked > 0);
}

}  // namespace tomvik::app
