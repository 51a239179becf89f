#pragma once

#include "Core/Operations/ObjectOperation.h"
#include "Util/Vector3D.h"

#include <QList>
#include <memory>
#include <string>

namespace Model {
class Object;
}

namespace Core {
namespace Operations {

// Moves the selected objects by a distance typed into the console as "x, y, z", or by the
// distance between two clicks in the view (the objects follow the pointer meanwhile).
// Steps: 0 choose objects, 1 typed distance or first click, 2 further clicks, 3 done.
class MoveObject : public ObjectOperation {
public:
    explicit MoveObject(ApplicationModel *model);

    void execute() override;
    void cancel() override;
    void finish() override;
    bool undo() override;
    bool redo() override;

    Util::Vector3D displacement() const { return distance; }
    QList<std::shared_ptr<Model::Object>> objects() const { return moving; }
    uint32_t step() const { return stepCounter; }

protected:
    MoveObject(ApplicationModel *model, std::string name, uint32_t kind, std::string messagePrefix);

    // What finishing does to each chosen object, and how undo and redo reverse and repeat it.
    virtual void apply();
    virtual void revert();
    virtual void reapply();

    virtual std::string selectPrompt() const;
    virtual std::string doneMessage() const;

    QList<std::shared_ptr<Model::Object>> moving;
    Util::Vector3D distance;

private:
    void chooseObjects();
    void takeFirstClick();
    void takeFurtherClick();
    void armPointRequest();
    void showDisplacement();
    void post(const std::string &text);

    std::string prefix;
    uint32_t stepCounter = 0;
    Util::Vector3D basePoint;
    Util::Vector3D currentPoint;
    bool typed = false;
};

} // namespace Operations
} // namespace Core
