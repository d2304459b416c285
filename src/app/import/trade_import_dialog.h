// The preview of a trade history import: every trade of the file with a
// tick saying whether it is booked, what the booking writes (kinds, amount,
// result) and what to look at, and every line that is not a trade with the
// reason. Trades the diary holds already start unticked. Changing a tick
// works the booking out again, so the preview always shows what 取り込み
// will do; キャンセル books nothing.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>

#include <functional>
#include <vector>

#include "core/import/trade_booking.h"
#include "core/import/trade_history.h"

class QLabel;
class QPushButton;
class QTreeView;

namespace tomvik::app {

class ImportPreviewModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column {
    kTick,
    kLine,
    kDate,
    kAction,
    kStock,
    kQuantity,
    kPrice,
    kCharge,
    kTax,
    kBroker,
    kKinds,
    kAmount,
    kResult,
    kNotes,
    kColumnCount
  };

  ImportPreviewModel(const std::vector<core::ImportedTrade>& trades, std::vector<bool> recorded,
                     QObject* parent = nullptr);

  const std::vector<bool>& ticked() const { return ticked_; }
  const std::vector<bool>& recorded() const { return recorded_; }
  void setRun(core::ImportRun run);
  const core::ImportRun& run() const { return run_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  void tickChanged();

 private:
  QString text(int row, int column) const;

  const std::vector<core::ImportedTrade>& trades_;
  std::vector<bool> recorded_;
  std::vector<bool> ticked_;
  core::ImportRun run_;
};

class TradeImportDialog : public QDialog {
  Q_OBJECT

 public:
  using Preview = std::function<core::ImportRun(const std::vector<bool>& ticked)>;

  // `recorded` marks the trades the diary holds already; `preview` works
  // the booking of the ticked trades out.
  TradeImportDialog(const QString& fileName, const core::TradeHistory& history, std::vector<bool> recorded,
                    Preview preview, QWidget* parent = nullptr);

  const std::vector<bool>& ticked() const { return model_->ticked(); }
  ImportPreviewModel* model() const { return model_; }

 private:
  void refresh();

  const core::TradeHistory& history_;
  Preview preview_;
  ImportPreviewModel* model_ = nullptr;
  QLabel* counts_ = nullptr;
  QTreeView* trades_ = nullptr;
  QPushButton* import_ = nullptr;
};

}  // namespace tomvik::app
