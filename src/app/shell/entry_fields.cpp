#include "app/shell/entry_fields.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include "app/shell/keyboard.h"
#include "app/shell/prompter.h"
#include "app/shell/settings_widgets.h"
#include "app/shell/sjis_text.h"
#include "app/shell/widgets.h"
#include "app/shell/window_services.h"
#include "core/records/recent_list.h"
#include "core/stocks/stock_lookup.h"

namespace tomvik::app {

namespace {

class NumericKeyFilter : public QObject {
 public:
  NumericKeyFilter(std::function<bool()> setupMode, QObject* parent)
      : QObject(parent), setupMode_(std::move(setupMode)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    return RefusesNumericKey(*static_cast<QKeyEvent*>(event), setupMode_ && setupMode_());
  }

 private:
  std::function<bool()> setupMode_;
};

class ExitWatcher : public QObject {
 public:
  ExitWatcher(std::function<void()> onExit, QObject* parent) : QObject(parent), onExit_(std::move(onExit)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut) onExit_();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> onExit_;
};

// A drop-down list closed while its combo keeps the focus gives the focus
// to the field the list serves.
class PopupCloseWatcher : public QObject {
 public:
  PopupCloseWatcher(QComboBox* combo, QWidget* next) : QObject(combo), combo_(combo), next_(next) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide) {
      QTimer::singleShot(0, this, [this] {
        if (combo_->hasFocus()) next_->setFocus();
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QComboBox* combo_;
  QWidget* next_;
};

QString Normalised(const QString& text) { return ToQString(core::NormaliseAmountText(ToSjis(text))); }

}  // namespace

bool RefusesNumericKey(const QKeyEvent& key, bool initialSetupMode) {
  // Ctrl and Alt make a key a command (select all, copy, paste), whatever
  // text the platform gives it.
  if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
  for (const char32_t ch : key.text().toUcs4()) {
    if (!core::IsNumericEntryChar(ch, initialSetupMode)) return true;
  }
  return false;
}

void InstallNumericKeyFilter(QLineEdit* field, std::function<bool()> initialSetupMode) {
  field->installEventFilter(new NumericKeyFilter(std::move(initialSetupMode), field));
}

void NormaliseOnExit(QLineEdit* field) {
  field->installEventFilter(new ExitWatcher(
      [field] {
        const QString text = Normalised(field->text());
        if (text != field->text()) field->setText(text);
      },
      field));
}

void NormaliseOnExit(QComboBox* field, std::function<void()> afterwards) {
  // The combo is its line edit's focus proxy: the focus leaves the combo.
  field->installEventFilter(new ExitWatcher(
      [field, afterwards = std::move(afterwards)] {
        const QString text = Normalised(field->currentText());
        if (text != field->currentText()) field->setEditText(text);
        if (afterwards) afterwards();
      },
      field));
}

void ConnectRecentCodes(QComboBox* recent, QLineEdit* codeField, QWidget* nameField, std::function<void()> lookUp) {
  // Chosen by the mouse or by typing a digit into the closed list: the code
  // goes into the code field and is looked up, and the name field is next.
  // The focus is in the drop-down, so the code field's leave never comes.
  QObject::connect(recent, &QComboBox::activated, codeField, [recent, codeField, nameField, lookUp](int index) {
    const QString line = recent->itemText(index);
    if (line.trimmed().isEmpty()) return;
    codeField->setText(line.left(4));
    lookUp();
    nameField->setFocus();
  });
  // Closed without a choice, the list hands the focus to the code field.
  recent->view()->window()->installEventFilter(new PopupCloseWatcher(recent, codeField));
}

void ConnectStepper(UpDownArrows* arrows, QLineEdit* field, std::function<core::Amount()> step) {
  auto move = [field, step](int direction) {
    const core::Amount by = direction > 0 ? step() : core::SatNeg(step());
    field->setText(ToQString(core::StepAmountText(ToSjis(field->text()), by, CurrentModifiers())));
  };
  QObject::connect(arrows, &UpDownArrows::up, field, [move] { move(1); });
  QObject::connect(arrows, &UpDownArrows::down, field, [move] { move(-1); });
}

core::Amount AmountOf(const QLineEdit* field) { return core::ParseAmount(ToSjis(field->text())); }
core::Amount AmountOf(const QComboBox* field) { return core::ParseAmount(ToSjis(field->currentText())); }
QString AmountText(core::Amount value) { return ToQString(core::FormatAmount(value)); }

std::string StockCodeOf(const QLineEdit* codeField) {
  return core::NormaliseStockCode(ToSjis(codeField->displayText()));
}

void PushRecentCharge(QComboBox* combo, const QString& text) {
  std::vector<std::string> items = ComboItems(combo);
  const core::RecentPush push = core::PushRecentValue(items, core::kRecentChargeCount, ToSjis(text));
  if (!push.changed && !push.selectFirst) return;
  const QSignalBlocker blocker(combo);
  SetComboItems(combo, items);
  combo->setEditText(text);
}

void PushRecentStockLine(QComboBox* combo, const std::string& code, const std::string& name) {
  std::vector<std::string> items = ComboItems(combo);
  core::PushRecentStock(items, core::kRecentStockCount, code, " " + name);
  const QSignalBlocker blocker(combo);
  SetComboItems(combo, items);
  combo->setCurrentIndex(-1);
}

void ShowStockDetails(const StockFieldSet& fields, const core::StockDetails& details) {
  fields.name->setText(ToQString(details.name));
  fields.name->setModified(false);
  fields.exchange->setEditText(ToQString(details.exchange));
  fields.unit->setText(ToQString(details.unit));
  fields.unit->setModified(false);
}

bool StoreTypedStockDetails(const StockFieldSet& fields, core::Books& books, WindowServices* services) {
  const core::StockDetails details{ToSjis(fields.name->text()), ToSjis(fields.exchange->currentText()),
                                   ToSjis(fields.unit->text())};
  const auto error = core::StoreStockFields(books, StockCodeOf(fields.code), details);
  if (!services) return false;
  services->reportFailedBackups();
  if (error) {
    services->prompter().showError(services->window(),
                                   QStringLiteral("銘柄管理に書き込めませんでした。\n") + DescribeFileError(*error));
    return false;
  }
  fields.name->setModified(false);
  fields.unit->setModified(false);
  services->ledgersChanged();
  return true;
}

}  // namespace tomvik::app
