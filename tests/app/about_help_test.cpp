// The About box and the help: the version from the build, the tiled
// background, the web address handed to the desktop, and the help topic
// that follows the tab in front.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QDialog>
#include <QEnterEvent>
#include <QFile>
#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>

#include <filesystem>
#include <memory>

#include "app/user_driver.h"
#include "app/window/form_about.h"
#include "app/window/form_main.h"
#include "app/window/help_window.h"
#include "app/window_support.h"

namespace {

using tomvik::app::HelpWindow;
using tomvik::testing::UserDriver;

// Stands for the user's browser.
class Browser : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;
 public slots:
  void openUrl(const QUrl& url) { opened << url; }
};

class AboutAndHelp : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ =
        std::make_unique<tomvik::app::TFormMain>(std::filesystem::path(dir_.path().toStdString()), QDate(2011, 3, 15));
    window_->setPrompter(std::make_unique<tomvik::testing::ScriptedPrompter>());
    driver_ = std::make_unique<UserDriver>(*window_);
    driver_->showActive();
  }
  HelpWindow* help() { return window_->findChild<HelpWindow*>(); }

  QTemporaryDir dir_;
  std::unique_ptr<tomvik::app::TFormMain> window_;
  std::unique_ptr<UserDriver> driver_;
};

TEST_F(AboutAndHelp, TheAboutBoxShowsTheBuildsVersionOnATiledBackground) {
  // The build's version, written with the minor numbers run together.
  EXPECT_EQ(tomvik::app::ProgramVersion(), QStringLiteral(TOMVIK_PROJECT_VERSION));
  EXPECT_EQ(tomvik::app::ShownVersion(QStringLiteral("2.2.2")), QStringLiteral("2.22"));
  EXPECT_EQ(tomvik::app::ShownVersion(QStringLiteral("3.0.1")), QStringLiteral("3.01"));
  EXPECT_EQ(tomvik::app::ShownVersion(QStringLiteral("3")), QStringLiteral("3"));
  EXPECT_EQ(tomvik::app::TFormAbout::VersionText(),
            QStringLiteral("～ Version ") + tomvik::app::ShownVersion(QStringLiteral(TOMVIK_PROJECT_VERSION)) +
                QStringLiteral(" ～"));
  bool shown = false;
  UserDriver::whenModal([&](QDialog& box) {
    shown = true;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(box.size(), QSize(298, 213));
    EXPECT_FALSE(box.findChild<QLabel*>(QStringLiteral("ProgramIcon"))->pixmap().isNull());
    EXPECT_FALSE(box.findChild<QLabel*>(QStringLiteral("ImageTitle"))->pixmap().isNull());
    // The folder in use, so that a user of an installed program finds the files.
    const QLabel* folder = box.findChild<QLabel*>(QStringLiteral("LabelFolder"));
    EXPECT_TRUE(folder->text().startsWith(QStringLiteral("データの保存先: "))) << folder->text().toStdString();
    EXPECT_EQ(folder->toolTip(), QDir::toNativeSeparators(dir_.path()));
    // The picture repeats every 128 pixels across and 192 down.
    const QImage image = box.grab().toImage();
    for (QPoint at : {QPoint(3, 3), QPoint(20, 60), QPoint(10, 100)}) {
      EXPECT_EQ(image.pixel(at), image.pixel(at + QPoint(128, 0)));
      EXPECT_EQ(image.pixel(QPoint(at.x(), 5)), image.pixel(QPoint(at.x(), 5 + 192)));
    }
    UserDriver(box).press("OKButton");
  });
  driver_->chooseFromMenuBar("MenuHelp", "MenuHelpVersion");
  EXPECT_TRUE(shown);
}

TEST_F(AboutAndHelp, TheWebAddressOpensInTheBrowserAndClosesTheBox) {
  Browser browser;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "openUrl");
  UserDriver::whenModal([&](QDialog& box) {
    auto* link = box.findChild<tomvik::app::AddressLink*>(QStringLiteral("LabelURL1"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    // The pointer over the address turns it blue over white.
    const QPointF inside = link->rect().center();
    QEnterEvent enter(inside, link->mapTo(&box, inside), link->mapToGlobal(inside));
    QCoreApplication::sendEvent(link, &enter);
    EXPECT_TRUE(link->hovered());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(link, &leave);
    EXPECT_FALSE(link->hovered());
    QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
    EXPECT_FALSE(box.isVisible());
  });
  driver_->chooseFromMenuBar("MenuHelp", "MenuHelpVersion");
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  ASSERT_EQ(browser.opened.size(), 1);
  EXPECT_EQ(browser.opened.front(), QUrl(tomvik::app::ProgramWebAddress()));
}

TEST_F(AboutAndHelp, F1ShowsTheTopicOfTheTabInFrontAndTopicsTheContents) {
  auto* tabs = driver_->find<QTabWidget>("PageControlMain");
  for (int tab = 0; tab < 6; ++tab) {
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(tab).center());
    EXPECT_EQ(window_->helpTopic(), 301 + tab);
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    QTest::keyClick(window_.get(), Qt::Key_F1);
    ASSERT_NE(help(), nullptr);
    EXPECT_TRUE(help()->isVisible());
    EXPECT_EQ(help()->page(), QUrl(QStringLiteral("qrc:/help/%1.html").arg(301 + tab)));
  }
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  driver_->chooseFromMenuBar("MenuHelp", "MenuHelpTopic");
  EXPECT_EQ(help()->page(), QUrl(QStringLiteral("qrc:/help/index.html")));
  // One help window serves them all.
  EXPECT_EQ(window_->findChildren<HelpWindow*>().size(), 1);

  // The About box has a topic of its own.
  UserDriver::whenModal([](QDialog& box) {
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    QTest::keyClick(&box, Qt::Key_F1);
    auto* aboutHelp = box.findChild<HelpWindow*>();
    ASSERT_NE(aboutHelp, nullptr);
    EXPECT_EQ(aboutHelp->page(), QUrl(QStringLiteral("qrc:/help/902.html")));
  });
  driver_->chooseFromMenuBar("MenuHelp", "MenuHelpVersion");
}

TEST(HelpPages, EveryTopicHasATitledPageAndEveryLinkLeadsToOne) {
  for (int topic : {0, 301, 302, 303, 304, 305, 306, 902}) {
    const QUrl page = tomvik::app::HelpPage(topic);
    QFile file(QLatin1Char(':') + page.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page.toString().toStdString();
    const QString html = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(html.contains(QRegularExpression(QStringLiteral("<title>[^<]+</title>")))) << topic;
    const QRegularExpression link(QStringLiteral("href=\"([^\"]+)\""));
    for (auto match = link.globalMatch(html); match.hasNext();) {
      const QString target = match.next().captured(1);
      EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + target)) << target.toStdString();
    }
  }
  // A number without a page shows the contents.
  EXPECT_EQ(tomvik::app::HelpPage(999), tomvik::app::HelpPage(0));
}

}  // namespace

#include "about_help_test.moc"
