#pragma once

#include "ProcessOptionsDialog.h"

#include <cstdint>
#include <memory>

namespace Core {
namespace Operations {
class GlueSubstrateOperation;
struct GlueLayout;
}
}

namespace Ui {
class GlueSubstrateForm;

namespace Operations {

// "Glue Substrate": the final volume size (x and y fixed at the smallest that holds both
// volumes, z from the smallest up), the top's displacement within the room the base leaves, and
// whether the top is inverted.
class GlueSubstrateDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    // The tallest result the Z box offers beyond the smallest one, in cells (a new substrate's
    // largest height).
    static constexpr int kLargestFinalHeight = 10000;

    explicit GlueSubstrateDialog(QWidget *parent = nullptr);
    ~GlueSubstrateDialog() override;

    // Fits the boxes to the two volumes: sizes at their smallest, no displacement.
    void setLimits(const Core::Operations::GlueLayout &layout);

    uint32_t finalSizeX() const;
    uint32_t finalSizeY() const;
    uint32_t finalSizeZ() const;
    uint32_t displacementX() const;
    uint32_t displacementY() const;
    bool invert() const;

    void offerChoicesFor(const Core::Operations::GlueSubstrateOperation &operation);
    void applyTo(Core::Operations::GlueSubstrateOperation &operation) const;

    GlueSubstrateForm *form() const { return ui.get(); }

private:
    std::unique_ptr<GlueSubstrateForm> ui;
};

} // namespace Operations
} // namespace Ui
