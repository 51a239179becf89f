#pragma once

#include "Core/Operations/Cuts/CutBox.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QSlider;
class QSpinBox;

namespace Core {
namespace Operations {
class CutCellVolumeOperation;
}
}

namespace Ui {
class CutCellVolumeBaseDialog;

namespace Operations {

// "Cut Cell Volume": the lower and upper limit of the box of cells shown, per axis, each a box
// coupled to a slider. A lower limit stays below its upper limit: moving one past the other
// pushes the other along. While "Preview" is checked every change shows at once.
class CutCellVolumeDialog : public QDialog {
    Q_OBJECT
public:
    using Preview = std::function<void(const Core::Operations::CutBox &)>;

    explicit CutCellVolumeDialog(QWidget *parent = nullptr);
    ~CutCellVolumeDialog() override;

    // Limits run over the volume's `sizes` (lower 0 to size − 1, upper 1 to size) and start at
    // `shown`, the box the volume shows now.
    void setVolume(const std::array<uint32_t, 3> &sizes, const Core::Operations::CutBox &shown);
    // Takes the operation's volume, and previews through it.
    void offerChoicesFor(Core::Operations::CutCellVolumeOperation &operation);
    // The limits as chosen, shown at once.
    void applyTo(Core::Operations::CutCellVolumeOperation &operation) const;

    Core::Operations::CutBox box() const;
    void setPreview(Preview preview) { showPreview = std::move(preview); }

    CutCellVolumeBaseDialog *form() const { return ui.get(); }

private:
    struct Axis {
        QSpinBox *lower = nullptr;
        QSpinBox *upper = nullptr;
        QSlider *lowerSlider = nullptr;
        QSlider *upperSlider = nullptr;
    };

    void coupleAxis(Axis &axis);
    void lowerChanged(Axis &axis, int value);
    void upperChanged(Axis &axis, int value);
    void reset();
    // Called after every change; previews once the outermost change (of several coupled ones)
    // is done.
    void changed();

    std::unique_ptr<CutCellVolumeBaseDialog> ui;
    std::array<Axis, 3> axes;
    std::array<uint32_t, 3> sizes{{1, 1, 1}};
    int changing = 0;
    Preview showPreview;
};

} // namespace Operations
} // namespace Ui
