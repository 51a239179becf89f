#pragma once

#include "Model/Materials/Material.h"

#include <QColor>
#include <cstdint>
#include <vector>

class QComboBox;

namespace Ui {
namespace Operations {

// The material choosers of the option dialogs: one entry per material, shown by name with a
// swatch of its colour, carrying the material id as item data.
void fillMaterialChooser(QComboBox *chooser, const std::vector<Model::Materials::Material> &materials);
// The id of the chosen material, or 0 when the chooser is empty.
uint32_t chosenMaterialId(const QComboBox *chooser);
// Chooses the entry of this id; returns false (and changes nothing) when there is none.
bool chooseMaterial(QComboBox *chooser, uint32_t id);
// A material's display colour, opaque or not, as a QColor.
QColor materialColor(const Model::Materials::Material &material);

} // namespace Operations
} // namespace Ui
