#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace Model {
class Scene;
namespace Automaton {
class TotalVolume;
}
}

namespace Ui {

// "File" → "Export VTK ..." and "Export STL ...": write a cell volume of the scene in the
// formats of other tools (see Model::Export). The volume is the first selected cell volume, or
// the scene's first one when none is selected. Failures are shown in a message box.
class VolumeExport {
public:
    static constexpr const char *kStlSmooth = "Smooth surface (marching cubes)";
    static constexpr const char *kStlCubes = "Exact cells (cube faces)";

    static std::shared_ptr<Model::Automaton::TotalVolume> volumeToExport(Model::Scene &scene);

    // Asks for the file when `fileName` is empty; false when nothing was written (no volume, a
    // cancelled dialog, a file that could not be written).
    static bool exportVtk(QWidget *parent, Model::Scene &scene, QString fileName = QString());
    // As exportVtk; asks which surface to write unless `smooth` is given (1 smooth, 0 cubes),
    // offering the one the view shows first.
    static bool exportStl(QWidget *parent, Model::Scene &scene, QString fileName = QString(), int smooth = -1);
};

} // namespace Ui
