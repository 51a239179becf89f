#pragma once

#include "ProcessOptionsDialog.h"

#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {
class ExtractFilm;
}
}

namespace Ui {
class ExtractFilmForm;

namespace Operations {

// "Extract Film": the film's material, any of the catalogue, and whether the film is turned over.
class ExtractFilmDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit ExtractFilmDialog(QWidget *parent = nullptr);
    ~ExtractFilmDialog() override;

    uint32_t materialId() const;
    bool invert() const;

    void applyTo(Core::Operations::ExtractFilm &operation) const;

    ExtractFilmForm *form() const { return ui.get(); }

private:
    std::unique_ptr<ExtractFilmForm> ui;
};

} // namespace Operations
} // namespace Ui
