#pragma once

#include "ProcessOptionsDialog.h"

#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {
class PlanarizationOperation;
}
}

namespace Ui {
class PlanarizationOptionsBaseDialog;

namespace Operations {

// "Planarization Options": the minimum and maximum heights in cells. The minimum can never
// exceed the maximum; opened for a volume, neither can exceed the volume's height.
class PlanarizationOptionsDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    explicit PlanarizationOptionsDialog(QWidget *parent = nullptr);
    ~PlanarizationOptionsDialog() override;

    // Limits both boxes to the volume's height and starts the maximum there (nothing removed
    // from above).
    void fitToHeight(uint32_t sizeZ);

    uint32_t maximumHeight() const;
    uint32_t minimumHeight() const;

    void offerChoicesFor(const Core::Operations::PlanarizationOperation &operation);
    void applyTo(Core::Operations::PlanarizationOperation &operation) const;

    PlanarizationOptionsBaseDialog *form() const { return ui.get(); }

private:
    std::unique_ptr<PlanarizationOptionsBaseDialog> ui;
};

} // namespace Operations
} // namespace Ui
