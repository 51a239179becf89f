// Settings kept between runs: last folders of the file dialogs, window geometry, view colours,
// grid spacing and lamps. The test main points QSettings at a temporary folder and clears it
// after every test.

#include "UiTestSupport.h"

#include "Model/ColorTable.h"
#include "UI/GLWidget.h"
#include "UI/LastFolders.h"
#include "UI/UserSettings.h"

#include <QDir>
#include <QSettings>
#include <QTest>

using Model::ColorTable;
using Ui::FileKind;
using UiTest::makeWindow;

TEST(UserSettings, NeverTouchTheUsersOwnSettings)
{
    const QString home = QString::fromLocal8Bit(qgetenv("HOME"));
    ASSERT_FALSE(home.isEmpty());
    EXPECT_TRUE(QSettings().fileName().startsWith(home)) << QSettings().fileName().toStdString();
}

TEST(UserSettings, EachKindOfFileRemembersItsLastFolder)
{
    QTemporaryDir masks, lists;
    EXPECT_EQ(Ui::lastFolder(FileKind::Masks), QDir::homePath()) << "home before any choice";

    Ui::rememberFolder(FileKind::Masks, masks.filePath("mask.png")); // a file
    Ui::rememberFolder(FileKind::ProcessLists, lists.path());       // a folder
    Ui::rememberFolder(FileKind::ProcessLists, QString());           // a cancelled dialog
    EXPECT_EQ(Ui::lastFolder(FileKind::Masks), QDir(masks.path()).absolutePath());
    EXPECT_EQ(Ui::lastFolder(FileKind::ProcessLists), QDir(lists.path()).absolutePath());
    EXPECT_EQ(Ui::lastFolder(FileKind::Csv), QDir::homePath()) << "kinds are kept apart";

    const QString gone = masks.path();
    masks.remove();
    EXPECT_EQ(Ui::lastFolder(FileKind::Masks), QDir::homePath()) << "a folder that is gone: " << gone.toStdString();
}

TEST(UserSettings, ColoursRoundTrip)
{
    ColorTable &table = ColorTable::instance();
    const Util::Vector4D background(0.1, 0.2, 0.3, 1.0);
    table.setColor(ColorTable::BackgroundColor, ColorTable::kCustomSet, background);
    table.setCurrentSet(ColorTable::kCustomSet);
    Ui::UserSettings::saveColors();

    table.restoreDefaults();
    EXPECT_EQ(table.currentSet(), ColorTable::kDefaultSet);
    Ui::UserSettings::loadColors();
    EXPECT_EQ(table.currentSet(), ColorTable::kCustomSet);
    const Util::Vector4D loaded = table.color(ColorTable::BackgroundColor);
    EXPECT_DOUBLE_EQ(loaded.x, 0.1);
    EXPECT_DOUBLE_EQ(loaded.y, 0.2);
    EXPECT_DOUBLE_EQ(loaded.z, 0.3);
    table.restoreDefaults();
}

TEST(UserSettings, GridAndLampsComeBackInTheNextWindow)
{
    {
        auto window = makeWindow();
        Ui::GLWidget *view = window->view();
        view->setGridSpacing(25.0);
        view->setLampCount(3);
        view->setLampRadius(2, 450.0f);
        view->setLampAngles(2, 0.5f, 0.25f);
        view->setLampEnabled(2, true);
        view->setLampEnabled(1, false);
        view->setActiveLamp(3);
        window->close(); // closing stores them
    }
    auto window = makeWindow();
    Ui::GLWidget *view = window->view();
    EXPECT_EQ(view->gridSpacing(), 25.0);
    ASSERT_EQ(view->lampCount(), 3);
    EXPECT_EQ(view->activeLamp(), 3);
    EXPECT_FALSE(view->isLampEnabled(1));
    EXPECT_TRUE(view->isLampEnabled(2));
    EXPECT_FALSE(view->isLampEnabled(3));
    EXPECT_FLOAT_EQ(view->lamp(2).radius, 450.0f);
    EXPECT_FLOAT_EQ(view->lamp(2).theta, 0.5f);
    EXPECT_FLOAT_EQ(view->lamp(2).phi, 0.25f);
}

TEST(UserSettings, WindowGeometryComesBackAsItWasLeft)
{
    auto window = makeWindow();
    window->setGeometry(40, 60, 700, 500);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QSize size = window->size();
    window->close();

    auto next = makeWindow();
    next->showAsLeft();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(next.get()));
    EXPECT_EQ(next->size(), size);
    EXPECT_FALSE(next->isMaximized());
}
