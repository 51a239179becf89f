#pragma once

#include "ProcessOptionsDialog.h"

#include "Core/Operations/RandomWalkDoping/RandomWalkDopingParameters.h"

#include <memory>

namespace Core {
namespace Operations {
class RandomWalkDopingOperation;
}
}

namespace Ui {
class RandomWalkDopingBaseDialog;

namespace Operations {

// "Random Walk Doping Options". The fields show the values in laboratory units (cm²/s, µm, s,
// cm⁻³, minutes, and the threshold in per cent of the surface concentration); the parameters
// and the operation get them in SI units. A time step too long for a stable walk is refused:
// the dialog stays open and says which time step would be stable.
class RandomWalkDopingDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit RandomWalkDopingDialog(QWidget *parent = nullptr);
    ~RandomWalkDopingDialog() override;

    // The fields in SI units.
    Core::Operations::RandomWalkDopingParameters values() const;

    void applyTo(Core::Operations::RandomWalkDopingOperation &operation) const;

    // Accepts only values the walk can run with.
    void accept() override;

    RandomWalkDopingBaseDialog *form() const { return ui.get(); }

private:
    // Shows why the values cannot run, or nothing; true when they can.
    bool showProblem();

    std::unique_ptr<RandomWalkDopingBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
