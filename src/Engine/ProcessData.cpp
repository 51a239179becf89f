#include "ProcessData.h"

#include "Engine/ProcessTypes.h"
#include "Engine/ProcessValueCodec.h"

#include <QDebug>
#include <atomic>
#include <ostream>

namespace Engine {

namespace {

// Steps are made on the interface thread and on the batch worker (a rebuilt old-format list),
// so the counter is atomic.
std::atomic<uint32_t> nextProcessId{0};

constexpr const char *kSource = "UI\\BatchRun\\processdata";

void logMissing(const char *function, const QString &name)
{
    qDebug().noquote() << kSource << function << "invalid map<K, T> key:" << name;
}

} // namespace

ProcessData::ProcessData(uint32_t processType) : processId(nextProcessId++), type(processType)
{
    registerProcessValueTypes();
}

void ProcessData::addProcessParameter(const QString &name, const QVariant &value, bool isVisible)
{
    values.insert(name, value);
    visible.insert(name, isVisible);
}

void ProcessData::setProcessParameter(const QString &name, const QVariant &value)
{
    values.insert(name, value);
    if (!visible.contains(name))
        visible.insert(name, false);
}

QVariant ProcessData::getProcessParameter(const QString &name) const
{
    const auto found = values.constFind(name);
    if (found == values.constEnd()) {
        logMissing("getProcessParameter", name);
        return QVariant();
    }
    return found.value();
}

bool ProcessData::getParameterVisibility(const QString &name) const
{
    const auto found = visible.constFind(name);
    if (found == visible.constEnd()) {
        logMissing("getParameterVisibility", name);
        return false;
    }
    return found.value();
}

void PrintTo(const ProcessData &step, std::ostream *os)
{
    *os << "ProcessData(" << step.processType() << " \"" << processName(step.processType()).toStdString()
        << "\" id " << step.id();
    const auto &visibility = step.visibility();
    for (auto it = step.parameters().constBegin(); it != step.parameters().constEnd(); ++it) {
        const EncodedValue encoded = encodeProcessValue(it.value());
        *os << ", " << it.key().toStdString() << "=" << encoded.typeName.toStdString() << ":"
            << encoded.data.toStdString() << (visibility.value(it.key(), false) ? "" : " (hidden)");
    }
    *os << ")";
}

} // namespace Engine
