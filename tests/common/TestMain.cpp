// Shared main of every test program: one QApplication (offscreen unless the test's environment
// says otherwise), HOME pointed at a fresh temporary folder, catalogues loaded from there.
#include <QApplication>
#include <QSurfaceFormat>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "Model/Catalogues.h"

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("HOME", home.path().toLocal8Bit());

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
    Model::initializeCatalogues();
    return RUN_ALL_TESTS();
}
