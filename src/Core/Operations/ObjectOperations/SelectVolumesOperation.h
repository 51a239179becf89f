#pragma once

#include "Core/Operations/Operation.h"

#include <string>

namespace Core {
namespace Operations {

// Chooses the cell volume a batch run works on: the first selected volume, or none when the
// user types N. Its options observer then opens the batch run with that choice.
class SelectVolumesOperation : public Operation {
public:
    explicit SelectVolumesOperation(ApplicationModel *model);

    void execute() override;
    void cancel() override;
    void finish() override;

    bool isChosen() const { return chosen; }

private:
    bool chosen = false;
    std::string answer;
};

} // namespace Operations
} // namespace Core
