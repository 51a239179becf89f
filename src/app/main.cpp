// Voxfab: a desktop simulator of microfabrication processes on a grid of cells.
#include "Model/Catalogues.h"
#include "UI/AboutWindow.h"
#include "UI/MainWindow.h"
#include "UI/UserSettings.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QSurfaceFormat>

namespace {

constexpr int kIconSize = 32; // pixels
const QColor kFallbackIconColor(207, 8, 12, 255);

// "icon.ico" from the working folder, or a plain red square when there is none.
QIcon windowIcon()
{
    QPixmap pixmap(kIconSize, kIconSize);
    if (!pixmap.load(QStringLiteral("icon.ico"))) {
        pixmap = QPixmap(kIconSize, kIconSize);
        pixmap.fill(kFallbackIconColor);
    }
    return QIcon(pixmap);
}

// The 3D view draws with fixed-function OpenGL; every context must allow it, and the format
// must be the default before the application creates its first context.
void setDefaultSurfaceFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setDepthBufferSize(24);
    format.setAlphaBufferSize(8);
    QSurfaceFormat::setDefaultFormat(format);
}

} // namespace

int main(int argc, char *argv[])
{
    setDefaultSurfaceFormat();
    // Every window's view draws in a context of one share group, whichever window a dialog
    // opens over.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // Settings between runs live under this name (QSettings).
    QApplication::setOrganizationName(QStringLiteral("Voxfab"));
    QApplication::setApplicationName(QStringLiteral("Voxfab"));
    QApplication::setApplicationVersion(Ui::AboutWindow::version());
    Model::initializeCatalogues();
    Ui::UserSettings::loadColors();
    QApplication::setWindowIcon(windowIcon());

    // Documents named on the command line open in windows of their own; each window deletes
    // itself when closed.
    for (Ui::MainWindow *window : Ui::MainWindow::windowsForDocuments(app.arguments().mid(1)))
        window->showAsLeft();
    return app.exec();
}
