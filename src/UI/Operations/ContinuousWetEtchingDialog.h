#pragma once

#include "ProcessOptionsDialog.h"

#include <memory>

namespace Core {
namespace Operations {
class ContinousWetEtchOperation;
}
}

namespace Ui {
class ContinuousWetEtchingBaseDialog;

namespace Operations {

// The options of the continuous (CCA) wet etch, laid out as the atomistic etch's "Wet Etching
// Options": the etch depth in length units.
class ContinuousWetEtchingDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit ContinuousWetEtchingDialog(QWidget *parent = nullptr);
    ~ContinuousWetEtchingDialog() override;

    double etchDepth() const;

    void applyTo(Core::Operations::ContinousWetEtchOperation &operation) const;

    ContinuousWetEtchingBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<ContinuousWetEtchingBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
