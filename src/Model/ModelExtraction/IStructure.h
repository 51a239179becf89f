#pragma once

#include <QString>

namespace Model {
namespace ModelExtraction {

// A mechanical structure found in a volume, written as a circuit netlist.
class IStructure {
public:
    virtual ~IStructure() = default;
    virtual QString netlist() const = 0;
};

} // namespace ModelExtraction
} // namespace Model
