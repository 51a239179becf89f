#include "VolumeExport.h"

#include "LastFolders.h"

#include "Model/Automaton/TotalVolume.h"
#include "Model/Automaton/TotalVolumePainter.h"
#include "Model/Export/StlWriter.h"
#include "Model/Export/VtkImageWriter.h"
#include "Model/Scene.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace Ui {

namespace {

const char *const kNoVolumeTitle = "Missing Cell Volume";
const char *const kNoVolumeText = "There is no cell volume to export.";
const char *const kFailedTitle = "Export Failed";

std::shared_ptr<Model::Automaton::TotalVolume> volumeOrWarning(QWidget *parent, Model::Scene &scene)
{
    auto volume = VolumeExport::volumeToExport(scene);
    if (!volume)
        QMessageBox::warning(parent, QLatin1String(kNoVolumeTitle), QLatin1String(kNoVolumeText));
    return volume;
}

QString askFileName(QWidget *parent, const QString &title, const char *filter, const QString &suffix)
{
    QString fileName
        = QFileDialog::getSaveFileName(parent, title, lastFolder(FileKind::Exports), QLatin1String(filter));
    if (!fileName.isEmpty() && QFileInfo(fileName).suffix().isEmpty())
        fileName += suffix;
    return fileName;
}

// Writes with the wait cursor; shows why when nothing was written.
bool finish(QWidget *parent, const QString &fileName, const std::function<QString()> &write)
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    const QString why = write();
    QApplication::restoreOverrideCursor();
    if (!why.isEmpty()) {
        QMessageBox::warning(parent, QLatin1String(kFailedTitle), why);
        return false;
    }
    rememberFolder(FileKind::Exports, fileName);
    return true;
}

} // namespace

std::shared_ptr<Model::Automaton::TotalVolume> VolumeExport::volumeToExport(Model::Scene &scene)
{
    std::shared_ptr<Model::Automaton::TotalVolume> first;
    for (const auto &object : scene.objects()) {
        auto volume = std::dynamic_pointer_cast<Model::Automaton::TotalVolume>(object);
        if (!volume)
            continue;
        if (volume->isSelected())
            return volume;
        if (!first)
            first = volume;
    }
    return first;
}

bool VolumeExport::exportVtk(QWidget *parent, Model::Scene &scene, QString fileName)
{
    const auto volume = volumeOrWarning(parent, scene);
    if (!volume)
        return false;
    if (fileName.isEmpty())
        fileName = askFileName(parent, QStringLiteral("Export VTK"), Model::Export::VtkImageWriter::kFileFilter,
                               QStringLiteral(".vti"));
    if (fileName.isEmpty())
        return false;
    return finish(parent, fileName, [&] { return Model::Export::VtkImageWriter::write(*volume, fileName); });
}

bool VolumeExport::exportStl(QWidget *parent, Model::Scene &scene, QString fileName, int smooth)
{
    using Model::Export::StlWriter;
    const auto volume = volumeOrWarning(parent, scene);
    if (!volume)
        return false;
    if (smooth < 0) {
        const bool viewIsSmooth
            = volume->painter().surfaceAlgorithm() == Model::Automaton::TotalVolumePainter::MarchingCubes;
        QStringList choices{QLatin1String(kStlCubes), QLatin1String(kStlSmooth)};
        if (viewIsSmooth)
            choices.swapItemsAt(0, 1);
        bool chosen = false;
        const QString choice = QInputDialog::getItem(parent, QStringLiteral("Export STL"),
                                                     QStringLiteral("Surface:"), choices, 0, false, &chosen);
        if (!chosen)
            return false;
        smooth = choice == QLatin1String(kStlSmooth) ? 1 : 0;
    }
    if (fileName.isEmpty())
        fileName = askFileName(parent, QStringLiteral("Export STL"), StlWriter::kFileFilter, QStringLiteral(".stl"));
    if (fileName.isEmpty())
        return false;
    const StlWriter::Surface surface = smooth ? StlWriter::Surface::Smooth : StlWriter::Surface::Cubes;
    return finish(parent, fileName, [&] { return StlWriter::write(*volume, surface, fileName); });
}

} // namespace Ui
