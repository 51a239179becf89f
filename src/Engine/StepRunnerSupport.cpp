#include "StepRunnerSupport.h"

#include "Core/ApplicationModel.h"
#include "Model/Automaton/TotalVolume.h"
#include "Engine/ProcessParameterNames.h"
#include "Engine/ProcessValueCodec.h"

#include <cmath>

namespace Engine {

QVariant RequiredParameters::required(const QString &name)
{
    const QVariant value = step.getProcessParameter(name);
    if (!value.isValid())
        missing << name;
    return value;
}

void RequiredParameters::invalid(const QString &name)
{
    invalidNames << name;
}

void RequiredParameters::refuse(const QString &name, const QString &why)
{
    invalidNames << (why.isEmpty() ? name : name + QStringLiteral(" (") + why + QLatin1Char(')'));
}

// Reads a required parameter with one of QVariant's checked conversions; a value that does not
// convert is noted as invalid and reads as zero.
template <typename T>
T RequiredParameters::converted(const QString &name, T (QVariant::*convert)(bool *) const)
{
    const QVariant value = required(name);
    if (!value.isValid())
        return T(0);
    bool ok = false;
    const T result = (value.*convert)(&ok);
    if (!ok)
        invalid(name);
    return ok ? result : T(0);
}

uint32_t RequiredParameters::toUInt(const QString &name)
{
    return converted<uint32_t>(name, &QVariant::toUInt);
}

int RequiredParameters::toInt(const QString &name)
{
    return converted<int>(name, &QVariant::toInt);
}

bool RequiredParameters::toBool(const QString &name)
{
    return required(name).toBool();
}

float RequiredParameters::toFloat(const QString &name)
{
    return converted<float>(name, &QVariant::toFloat);
}

double RequiredParameters::toDouble(const QString &name)
{
    return converted<double>(name, &QVariant::toDouble);
}

float RequiredParameters::toLength(const QString &name)
{
    const int invalidBefore = invalidNames.size();
    const float length = toFloat(name);
    if (invalidNames.size() != invalidBefore)
        return 0.0f;
    if (!std::isfinite(length) || length < 0.0f) {
        refuse(name, QStringLiteral("not a length"));
        return 0.0f;
    }
    return length;
}

QString RequiredParameters::toText(const QString &name)
{
    return required(name).toString();
}

uint32_t RequiredParameters::materialId(const QString &base)
{
    return toUInt(Parameters::idOf(base));
}

Util::Vector3D RequiredParameters::toVector3D(const QString &name)
{
    const QVariant value = required(name);
    Util::Vector3D vector;
    if (value.isValid() && !vector3DFromVariant(value, vector))
        invalid(name);
    return vector;
}

QVector<bool> RequiredParameters::toBoolVector(const QString &name)
{
    const QVariant value = required(name);
    QVector<bool> bits;
    if (value.isValid() && !boolVectorFromVariant(value, bits))
        invalid(name);
    return bits;
}

int RequiredParameters::result() const
{
    if (!missing.isEmpty())
        return StepMissingParameter;
    if (!invalidNames.isEmpty())
        return StepInvalidParameter;
    return StepSucceeded;
}

QString RequiredParameters::detail() const
{
    if (!missing.isEmpty())
        return QStringLiteral("Missing parameter: ") + missing.join(QStringLiteral(", "));
    if (!invalidNames.isEmpty())
        return QStringLiteral("Invalid value of: ") + invalidNames.join(QStringLiteral(", "));
    return QString();
}

void recordStep(StepContext &context, uint32_t operationId, bool latticeOutOfDate)
{
    const int objectId = context.volume->objectId();
    context.model.volumeHistory().setLastStep(objectId, operationId);
    if (latticeOutOfDate)
        context.model.volumeHistory().setLatticeOutOfDate(objectId, true);
}

} // namespace Engine
