// Shared main of every test program: one QApplication (offscreen unless the test's environment
// says otherwise), HOME pointed at a fresh temporary folder, catalogues loaded from there.
#include <QApplication>
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

    QApplication app(argc, argv);
    Model::initializeCatalogues();
    return RUN_ALL_TESTS();
}
