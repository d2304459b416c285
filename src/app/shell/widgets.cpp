#include "app/shell/widgets.h"

#include "app/shell/list_delegate.h"
#include "app/shell/sjis_text.h"
#include "core/records/escape.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

namespace tomvik::app {

UpDownArrows::UpDownArrows(const QString& objectName, QWidget* parent) : QWidget(parent) {
  setObjectName(objectName);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto makeArrow = [this, layout](Qt::ArrowType arrow, const char* name) {
    auto* button = new QToolButton(this);
    button->setObjectName(this->objectName() + QLatin1String(name));
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFixedSize(16, 11);
    button->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(button);
    return button;
  };
  connect(makeArrow(Qt::UpArrow, "Up"), &QToolButton::clicked, this, &UpDownArrows::up);
  connect(makeArrow(Qt::DownArrow, "Down"), &QToolButton::clicked, this, &UpDownArrows::down);
  setFixedWidth(16);
}

QLineEdit* MakeAmountEdit(const QString& objectName, QWidget* parent, const QString& text) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(objectName);
  edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return edit;
}

namespace {

// Keeps typing within a number of characters. Unlike a line edit's maximum
// length it never cuts a text the program sets: a figure is shown whole.
// A longer text the program set can still be shortened.
class TypedLengthLimit : public QValidator {
 public:
  TypedLengthLimit(QLineEdit* field, int maxLength) : QValidator(field), maxLength_(maxLength) {
    shownLength_ = field->text().size();
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { shownLength_ = text.size(); });
  }
  State validate(QString& input, int& /*pos*/) const override {
    return input.size() <= maxLength_ || input.size() < shownLength_ ? Acceptable : Invalid;
  }

 private:
  int maxLength_;
  qsizetype shownLength_ = 0;
};

}  // namespace

void LimitTypedLength(QLineEdit* field, int maxLength) { field->setValidator(new TypedLengthLimit(field, maxLength)); }

QLineEdit* MakeMemo(const QString& objectName, QWidget* parent, const QString& text) {
  auto* memo = MakeAmountEdit(objectName, parent, text);
  memo->setReadOnly(true);
  LimitTypedLength(memo, kMemoLength);
  memo->setFocusPolicy(Qt::ClickFocus);
  return memo;
}

QLineEdit* MakeCodeEdit(const QString& objectName, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(objectName);
  edit->setInputMask(QStringLiteral("9999"));
  edit->setFixedWidth(48);
  return edit;
}

QLineEdit* MakeTextEdit(const QString& objectName, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(objectName);
  return edit;
}

QPlainTextEdit* MakeCommentBox(const QString& objectName, QWidget* parent) {
  auto* box = new QPlainTextEdit(parent);
  box->setObjectName(objectName);
  box->setTabChangesFocus(true);
  return box;
}

QDateEdit* MakeDatePicker(const QString& objectName, QWidget* parent) {
  auto* picker = new QDateEdit(parent);
  picker->setObjectName(objectName);
  picker->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
  picker->setDisplayFormat(QStringLiteral("yyyy年MM月dd日（ddd）"));
  picker->setCalendarPopup(true);
  return picker;
}

QComboBox* MakeCombo(const QString& objectName, QWidget* parent, bool editable) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(objectName);
  combo->setEditable(editable);
  combo->setInsertPolicy(QComboBox::NoInsert);
  return combo;
}

QLabel* MakeLabel(const QString& text, QWidget* parent, const QString& objectName) {
  auto* label = new QLabel(text, parent);
  if (!objectName.isEmpty()) label->setObjectName(objectName);
  return label;
}

QTreeView* MakeListView(const QString& objectName, QWidget* parent) {
  auto* view = new QTreeView(parent);
  view->setObjectName(objectName);
  view->setRootIsDecorated(false);
  view->setItemsExpandable(false);
  view->setUniformRowHeights(true);
  view->setAllColumnsShowFocus(true);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The cells, their grid lines and the selection, also when the list loses
  // the focus; the window tells the delegate whose colours the list takes.
  view->setItemDelegate(new ListDelegate(view));
  view->setSortingEnabled(false);
  view->header()->setSectionsClickable(false);
  view->header()->setSectionsMovable(false);
  view->header()->setStretchLastSection(false);
  return view;
}

std::optional<std::size_t> SelectedTableIndex(const QTreeView* view, const LedgerModel& model) {
  const QModelIndexList rows = view->selectionModel()->selectedRows();
  if (rows.isEmpty()) return std::nullopt;
  return model.tableIndex(rows.front().row());
}

void SetFieldEnabled(QWidget* field, bool enabled) { field->setEnabled(enabled); }

void ApplyColumns(QTreeView* view, const std::vector<ColumnSpec>& columns) {
  QHeaderView* header = view->header();
  // Separator columns are two pixels wide, below the style's usual minimum.
  header->setMinimumSectionSize(1);
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    const ColumnSpec& column = columns[static_cast<std::size_t>(i)];
    header->resizeSection(i, column.width);
    if (column.fixed) header->setSectionResizeMode(i, QHeaderView::Fixed);
    view->setColumnHidden(i, column.hidden);
  }
}

QRadioButton* MakeRadio(const QString& text, const char* objectName, QWidget* parent) {
  auto* radio = new QRadioButton(text, parent);
  radio->setObjectName(QLatin1String(objectName));
  return radio;
}

QGroupBox* MakeChoiceBox(QWidget* parent, std::initializer_list<QRadioButton*> choices) {
  auto* box = new QGroupBox(parent);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(6, 2, 6, 2);
  row->setSpacing(8);
  for (QRadioButton* choice : choices) {
    choice->setParent(box);
    row->addWidget(choice);
  }
  return box;
}

void FillBuiltInExchanges(QComboBox* combo) {
  combo->addItems({QStringLiteral("東証１部"), QStringLiteral("東証２部"), QStringLiteral("マザーズ"),
                   QStringLiteral("ジャスダック"), QStringLiteral("ヘラクレス")});
  combo->setCurrentIndex(-1);
}

void PlacePanelOverList(QWidget* tab, QSplitter* splitter, int panelHeight) {
  splitter->setChildrenCollapsible(false);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({panelHeight, 1000});
  auto* page = new QVBoxLayout(tab);
  page->setContentsMargins(0, 0, 0, 0);
  page->addWidget(splitter);
}

QCheckBox* MakeCheck(const QString& text, const char* objectName, QWidget* parent) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(QLatin1String(objectName));
  return box;
}

QPushButton* MakeButton(const QString& text, const char* objectName, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QLatin1String(objectName));
  return button;
}

namespace {

// A palette set again is sent to the control and its children: skip it when
// it would change nothing (the summary shows its colours after every trade).
void ApplyPalette(QWidget* widget, const QPalette& palette) {
  const QPalette& now = widget->palette();
  if (widget->testAttribute(Qt::WA_SetPalette) && palette == now && palette.resolveMask() == now.resolveMask()) return;
  widget->setPalette(palette);
}

}  // namespace

void SetTextColour(QWidget* widget, const QColor& colour) {
  // A disabled control keeps the greyed letters of every disabled control.
  QPalette palette = widget->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::WindowText, colour);
    palette.setColor(group, QPalette::ButtonText, colour);
    palette.setColor(group, QPalette::Text, colour);
  }
  ApplyPalette(widget, palette);
}

QColor StandardColour(const QWidget* widget, QPalette::ColorRole role) {
  static const QStyle* style = nullptr;
  static QPalette palette;
  if (widget->style() != style) {
    style = widget->style();
    palette = style->standardPalette();
  }
  return palette.color(role);
}

void ShowSignColour(QLineEdit* field, core::Amount value) {
  QColor colour = StandardColour(field, QPalette::Text);
  switch (core::SignColourOf(value)) {
    case core::SignColour::Red: colour = kRed; break;
    case core::SignColour::Blue: colour = kBlue; break;
    case core::SignColour::WindowText: break;
  }
  QPalette palette = field->palette();
  palette.setColor(QPalette::Text, colour);
  ApplyPalette(field, palette);
}

std::string CommentOf(const QPlainTextEdit* box) { return core::NormaliseLineBreaks(ToSjis(box->toPlainText())); }

void ShowComment(QPlainTextEdit* box, const std::string& comment) {
  QString text = ToQString(comment);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  // Laying the box's document out again costs more than comparing.
  if (box->toPlainText() != text) box->setPlainText(text);
}

}  // namespace tomvik::app
