// Shared main of every test program: one QApplication (offscreen unless the test's environment
// says otherwise), HOME pointed at a fresh temporary folder, catalogues loaded from there.
#include <QApplication>
#include <QSettings>
#include <QSurfaceFormat>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "Model/Catalogues.h"

namespace {

// Whatever a test leaves in the settings (last folders, window geometry, view settings) is
// gone before the next test starts.
class SettingsCleaner : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo &) override { QSettings().clear(); }
};

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("HOME", home.path().toLocal8Bit());
    // Settings go to the temporary home too, never to the user's own.
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, home.path() + QStringLiteral("/.config"));

    // The 3D view needs fixed-function OpenGL; the default format must be set before the
    // application exists (harmless where no context can be made).
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setDepthBufferSize(24);
    format.setAlphaBufferSize(8);
    QSurfaceFormat::setDefaultFormat(format);

    QApplication app(argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new SettingsCleaner);
    Model::initializeCatalogues();
    return RUN_ALL_TESTS();
}
