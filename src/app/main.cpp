// Voxfab: a desktop simulator of microfabrication processes on a grid of cells.
#include "Model/Catalogues.h"
#include "UI/MainWindow.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Voxfab"));
    Model::initializeCatalogues();
    QApplication::setWindowIcon(windowIcon());

    auto *window = new Ui::MainWindow(); // deletes itself when closed
    // Without a window manager a maximize request is not honoured; start at full size anyway.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        window->setGeometry(screen->availableGeometry());
    window->showMaximized();
    return app.exec();
}
