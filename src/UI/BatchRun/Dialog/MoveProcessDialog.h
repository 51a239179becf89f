#pragma once

#include "Engine/ProcessData.h"

#include <QDialog>
#include <QList>
#include <cstdint>
#include <memory>
#include <optional>

namespace Ui {
class MoveProcessDialogForm;

// Asks where a step of a process list goes: after or before one of the other steps.
class MoveProcessDialog : public QDialog {
    Q_OBJECT
public:
    // Offers every step of `list` except the one with id `movedId`.
    MoveProcessDialog(const QList<Engine::ProcessData> &list, uint32_t movedId, QWidget *parent = nullptr);
    ~MoveProcessDialog() override;

    // The id of the step chosen as the reference; none when the list offers no other step.
    std::optional<uint32_t> targetId() const;
    // "Before" unless "After" is checked.
    bool placeAfter() const;

    MoveProcessDialogForm *form() const { return ui.get(); }

private:
    std::unique_ptr<MoveProcessDialogForm> ui;
};

} // namespace Ui
