#pragma once

#include "ProcessOptionsDialog.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {
class MooreNeighborhoodDepositionOperation;
class MooreNeighborhoodEtchingOperation;
}
}

namespace Ui {
class MooreOptionsBaseDialog;

namespace Operations {

// "Operation Options" of both Moore steps: a number of cell layers and the film, any material of
// the catalogue. The layer box reads "Film Thickness" for deposition and "Etch Depth" for
// etching, and is listed in process lists as "Thickness" or "Depth".
class MooreOptionsDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit MooreOptionsDialog(QWidget *parent = nullptr);
    ~MooreOptionsDialog() override;

    void showAsDeposition();
    void showAsEtching();

    uint32_t layers() const;
    uint32_t materialId() const;

    void offerChoicesFor(const Core::Operations::MooreNeighborhoodDepositionOperation &);
    void offerChoicesFor(const Core::Operations::MooreNeighborhoodEtchingOperation &);
    void applyTo(Core::Operations::MooreNeighborhoodDepositionOperation &operation) const;
    void applyTo(Core::Operations::MooreNeighborhoodEtchingOperation &operation) const;

    MooreOptionsBaseDialog *form() const { return ui.get(); }

private:
    void showAs(const QString &label, const QString &parameterName);

    std::unique_ptr<MooreOptionsBaseDialog> ui;
    QString layersName;
};

} // namespace Operations
} // namespace Ui
