#pragma once

// What every step runner shares: reading its required parameters with the step result codes,
// holding a volume's cell lock, and recording the step in the volume history.

#include "Engine/ProcessData.h"
#include "Engine/StepRunner.h"
#include "Util/Vector3D.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>

namespace Model {
namespace Automaton {
class Cell;
}
}

namespace Engine {

// Reads a step's required parameters. Each accessor returns the converted value, or a neutral
// one (0, false, the zero vector) after noting the failure; once all are read, result() tells
// the step's code: 1 when any parameter was absent or an invalid variant, otherwise 2 when a
// conversion failed (or a value was out of range), otherwise 0. So a missing parameter wins
// over a bad one wherever they are read.
class RequiredParameters {
public:
    explicit RequiredParameters(const ProcessData &step) : step(step) {}

    uint32_t toUInt(const QString &name);
    int toInt(const QString &name);
    bool toBool(const QString &name);
    float toFloat(const QString &name);
    double toDouble(const QString &name);
    // A length, thickness or depth: a finite number ≥ 0.
    float toLength(const QString &name);
    QString toText(const QString &name);
    // "<base>_Id": the catalogue id of a material.
    uint32_t materialId(const QString &base);
    // Three doubles: a Util::Vector3D or a list of three numbers.
    Util::Vector3D toVector3D(const QString &name);
    // A bool vector (mask): QVector<bool>, std::vector<bool> or QBitArray.
    QVector<bool> toBoolVector(const QString &name);

    // Marks a value that converted but cannot be used (code 2), with the reason.
    void refuse(const QString &name, const QString &why);

    int result() const;
    // Why result() is not 0, naming the parameters; empty on success.
    QString detail() const;

private:
    // The value, or an invalid variant after noting the name as missing.
    QVariant required(const QString &name);
    template <typename T>
    T converted(const QString &name, T (QVariant::*convert)(bool *) const);
    void invalid(const QString &name);

    const ProcessData &step;
    QStringList missing;
    QStringList invalidNames;
};

// Notes the step in the model's volume history under the interactive operation's id, and marks
// the volume's silicon lattice out of date when the step may have changed silicon.
void recordStep(StepContext &context, uint32_t operationId, bool latticeOutOfDate);


} // namespace Engine
