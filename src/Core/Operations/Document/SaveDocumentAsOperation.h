#pragma once

#include "Core/Operations/Document/SaveDocumentOperation.h"

namespace Core {
namespace Operations {

// Saves the document under a location the user chooses every time.
class SaveDocumentAsOperation : public SaveDocumentOperation {
public:
    explicit SaveDocumentAsOperation(ApplicationModel *model);

    void execute() override;
    void finish() override;
};

} // namespace Operations
} // namespace Core
