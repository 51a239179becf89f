#pragma once

#include "Core/Operations/ObjectOperations/MoveObject.h"

namespace Core {
namespace Operations {

// Like a move, but the chosen objects stay where they are and displaced copies are added.
class CopyObject : public MoveObject {
public:
    explicit CopyObject(ApplicationModel *model);

    QList<std::shared_ptr<Model::Object>> copies() const { return made; }

protected:
    void apply() override;
    void revert() override;
    void reapply() override;
    std::string selectPrompt() const override;
    std::string doneMessage() const override;

private:
    QList<std::shared_ptr<Model::Object>> made;
};

} // namespace Operations
} // namespace Core
