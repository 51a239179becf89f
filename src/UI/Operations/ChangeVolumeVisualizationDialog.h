#pragma once

#include "Model/Materials/Material.h"
#include "Model/Rendering/VisualizationOptions.h"

#include <QColor>
#include <QDialog>
#include <functional>
#include <map>
#include <memory>

namespace Ui {
class ChangeVolumeVisualizationDialogForm;

namespace Operations {

// "Change Volume Visualization Options": the atomistic and voxel switches, the display colour of
// each material (film colours) and the surface algorithm with the particle view's distribution
// and colour scale, in three tabs.
class ChangeVolumeVisualizationDialog : public QDialog {
    Q_OBJECT
public:
    // Material id → colour chosen in this dialog.
    using FilmColorMap = std::map<uint32_t, Model::Materials::Color>;
    // Asks for a new colour starting from `current`; an invalid colour means none was chosen.
    // QColorDialog by default; tests replace it.
    using ColorChooser = std::function<QColor(const QColor &current, QWidget *parent)>;

    explicit ChangeVolumeVisualizationDialog(const Model::Rendering::VisualizationOptions &current,
                                             QWidget *parent = nullptr);
    ~ChangeVolumeVisualizationDialog() override;

    bool renderSiAtoms() const;
    bool renderSurfaceAtomsOnly() const;
    bool renderAtomLinks() const;
    bool renderUnitCells() const;
    bool renderUnitCellOutlines() const;
    bool renderEmptyVoxelOutlines() const;
    int surfaceAlgorithm() const;
    int particleDistribution() const;
    int colorScale() const;
    // All nine, in the order the painter takes them.
    Model::Rendering::VisualizationOptions options() const;
    FilmColorMap filmColors() const { return changedColors; }

    void setColorChooser(ColorChooser chooser) { chooseColor = std::move(chooser); }
    ChangeVolumeVisualizationDialogForm *form() const { return ui.get(); }

private slots:
    void showMaterialColor();
    void changeColor();

private:
    Model::Materials::Color colorOfCurrentMaterial() const;

    std::unique_ptr<ChangeVolumeVisualizationDialogForm> ui;
    FilmColorMap catalogueColors;
    FilmColorMap changedColors;
    ColorChooser chooseColor;
};

} // namespace Operations
} // namespace Ui
