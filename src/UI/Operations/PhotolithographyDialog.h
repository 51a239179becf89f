#pragma once

#include "ProcessOptionsDialog.h"
#include "Model/Masks/ImageMask.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;

namespace Core {
namespace Operations {
class PhotolithographyOperation;
}
}

namespace Ui {
class PhotolithographyBaseDialog;

namespace Operations {

// "Photolithography Options": a top and a bottom mask, each read from an image when its
// "Apply" is pressed, and the resist ("Select Film"). The masks take effect at once: when the
// dialog serves an operation, its buttons hand each mask to it, so the view shows the mask while
// the dialog is still open.
class PhotolithographyDialog : public ProcessOptionsDialog {
    Q_OBJECT
public:
    // Asks for an image file to open; empty when the user cancelled.
    using FileChooser = std::function<QString(QWidget *parent, const QString &caption, const QString &directory,
                                              const QString &filter)>;
    // Shows a modal warning.
    using Warning = std::function<void(QWidget *parent, const QString &text)>;

    explicit PhotolithographyDialog(QWidget *parent = nullptr);
    ~PhotolithographyDialog() override;

    // From now on the mask buttons set the operation's masks.
    void offerChoicesFor(Core::Operations::PhotolithographyOperation &operation);
    // The masks are already with the operation; only the resist is left to hand over.
    void applyTo(Core::Operations::PhotolithographyOperation &operation) const;

    const Model::Masks::ImageMask &topMask() const;
    const Model::Masks::ImageMask &bottomMask() const;
    uint32_t materialId() const;

    void setFileChooser(FileChooser chooser) { chooseFile = std::move(chooser); }
    void setWarning(Warning warning) { warn = std::move(warning); }

    PhotolithographyBaseDialog *form() const { return ui.get(); }

private:
    // One row of the form: the file line, the mask it gave and where it goes.
    struct MaskRow {
        QLineEdit *file = nullptr;
        QLabel *size = nullptr;
        QString failureText;
        Model::Masks::ImageMask mask;
        QString appliedFile; // the image the mask was read from
        std::function<void(const Model::Masks::ImageMask &)> changed;
    };

    void bindMask(MaskRow &row, const char *bitsName, const char *widthName, const char *heightName,
                  const char *fileName);
    void browse(MaskRow &row);
    void apply(MaskRow &row);
    void remove(MaskRow &row);
    void setMask(MaskRow &row, const Model::Masks::ImageMask &mask, const QString &file);
    static void showSize(const MaskRow &row);

    std::unique_ptr<PhotolithographyBaseDialog> ui;
    MaskRow top;
    MaskRow bottom;
    FileChooser chooseFile;
    Warning warn;
};

} // namespace Operations
} // namespace Ui
