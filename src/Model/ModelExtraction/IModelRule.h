#pragma once

#include <memory>

namespace Model {
namespace ModelExtraction {

class ExtractedModel;
class IStructure;

// A rule that recognises one kind of structure among the linked boxes of a volume.
class IModelRule {
public:
    virtual ~IModelRule() = default;
    // The structure found, or none.
    virtual std::shared_ptr<IStructure> apply(const ExtractedModel &boxes) = 0;
};

} // namespace ModelExtraction
} // namespace Model
