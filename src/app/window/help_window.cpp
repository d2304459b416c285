#include "app/window/help_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace tomvik::app {

namespace {

constexpr int kTopics[] = {301, 302, 303, 304, 305, 306, 902};

QString StyleSheet() {
  QFile file(QStringLiteral(":/help/help.css"));
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll());
}

QToolButton* NavigationButton(const QString& text, const char* name, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setText(text);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  return button;
}

}  // namespace

QUrl HelpPage(int topic) {
  for (int known : kTopics) {
    if (known == topic) return QUrl(QStringLiteral("qrc:/help/%1.html").arg(topic));
  }
  return QUrl(QStringLiteral("qrc:/help/index.html"));
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Tomvik ヘルプ"));
  setWindowFlags(Qt::Window);
  setAttribute(Qt::WA_DeleteOnClose, false);
  resize(640, 560);

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenExternalLinks(true);
  browser_->document()->setDefaultStyleSheet(StyleSheet());

  QToolButton* contents = NavigationButton(QStringLiteral("目次"), "HelpContents", this);
  QToolButton* back = NavigationButton(QStringLiteral("← 戻る"), "HelpBack", this);
  QToolButton* forward = NavigationButton(QStringLiteral("進む →"), "HelpForward", this);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(contents, &QToolButton::clicked, this, [this] { showTopic(kHelpContents); });
  connect(back, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Tomvik ヘルプ") : QStringLiteral("Tomvik ヘルプ - ") + title);
  });

  auto* bar = new QHBoxLayout;
  bar->addWidget(contents);
  bar->addWidget(back);
  bar->addWidget(forward);
  bar->addStretch(1);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  column->addLayout(bar);
  column->addWidget(browser_, 1);
}

void HelpWindow::showTopic(int topic) { browser_->setSource(HelpPage(topic)); }

QUrl HelpWindow::page() const { return browser_->source(); }

HelpWindow* ShowHelpTopic(QWidget* from, int topic) {
  QWidget* owner = from->window();
  auto* help = owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (!help) help = new HelpWindow(owner);
  help->showTopic(topic);
  help->show();
  help->raise();
  help->activateWindow();
  return help;
}

}  // namespace tomvik::app
