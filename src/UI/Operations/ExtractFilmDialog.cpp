#include "ExtractFilmDialog.h"

#include "MaterialChooser.h"
#include "Core/Operations/FilmExtraction/ExtractFilm.h"
#include "ui_ExtractFilmDialog.h"

namespace Ui {
namespace Operations {

ExtractFilmDialog::ExtractFilmDialog(QWidget *parent)
    : ProcessOptionsDialog(parent), ui(std::make_unique<ExtractFilmForm>())
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox);
    fillMaterialChooser(ui->cbxMaterial, allMaterials());
}

ExtractFilmDialog::~ExtractFilmDialog() = default;

uint32_t ExtractFilmDialog::materialId() const
{
    return chosenMaterialId(ui->cbxMaterial);
}

bool ExtractFilmDialog::invert() const
{
    return ui->chkInvert->isChecked();
}

void ExtractFilmDialog::applyTo(Core::Operations::ExtractFilm &operation) const
{
    operation.setMaterial(materialId());
    operation.setInvert(invert());
}

} // namespace Operations
} // namespace Ui
