#pragma once

#include "Model/Masks/ImageMask.h"

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace Core {
namespace Operations {
class MaskedCutCellVolumeOperation;
}
}

namespace Ui {
class MaskedCutOptionsBaseDialog;

namespace Operations {

// "Masked Cell Cut Options": the top-down cut mask, read from an image when "Apply" is pressed
// (or when OK is pressed with a file named but not yet applied). When the dialog serves an
// operation, the mask shows over the volume as soon as it is applied or removed; the cut takes
// the mask only when the dialog is accepted.
class MaskedCutOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Asks for an image file to open; empty when the user cancelled.
    using FileChooser = std::function<QString(QWidget *parent, const QString &caption, const QString &directory,
                                              const QString &filter)>;
    // Shows a modal warning.
    using Warning = std::function<void(QWidget *parent, const QString &text)>;

    explicit MaskedCutOptionsDialog(QWidget *parent = nullptr);
    ~MaskedCutOptionsDialog() override;

    // From now on Apply and Remove show the mask on the operation's volume, whose size the
    // mask's size is compared with.
    void offerChoicesFor(Core::Operations::MaskedCutCellVolumeOperation &operation);
    // Hands over the mask, when one was applied or removed.
    void applyTo(Core::Operations::MaskedCutCellVolumeOperation &operation) const;

    // The number of columns the mask is meant for; 0, 0 when unknown.
    void setVolumeColumns(uint32_t sizeX, uint32_t sizeY);

    const Model::Masks::ImageMask &mask() const { return chosen; }
    // Whether a mask was applied or removed since the dialog opened.
    bool hasMask() const { return maskGiven; }

    void setFileChooser(FileChooser chooser) { chooseFile = std::move(chooser); }
    void setWarning(Warning warning) { warn = std::move(warning); }

    MaskedCutOptionsBaseDialog *form() const { return ui.get(); }

public slots:
    // Applies a file named but not yet applied first; stays open when it cannot be read.
    void accept() override;

private:
    void browse();
    bool apply();
    void remove();
    void setMask(const Model::Masks::ImageMask &mask, const QString &file);
    void showSize();

    std::unique_ptr<MaskedCutOptionsBaseDialog> ui;
    Model::Masks::ImageMask chosen;
    bool maskGiven = false;
    QString appliedFile;
    uint32_t columnsX = 0;
    uint32_t columnsY = 0;
    std::function<void(const Model::Masks::ImageMask &)> changed;
    FileChooser chooseFile;
    Warning warn;
};

} // namespace Operations
} // namespace Ui
