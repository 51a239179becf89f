#pragma once

#include "ProcessOptionsDialog.h"

#include <memory>

namespace Core {
namespace Operations {
class AtomisticSiWetEtchingOperation;
}
}

namespace Ui {
class WetEtchingBaseDialog;

namespace Operations {

// "Wet Etching Options": how far down the (100) surface the silicon is etched.
class WetEtchingDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit WetEtchingDialog(QWidget *parent = nullptr);
    ~WetEtchingDialog() override;

    double depth() const;

    void applyTo(Core::Operations::AtomisticSiWetEtchingOperation &operation) const;

    WetEtchingBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<WetEtchingBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
