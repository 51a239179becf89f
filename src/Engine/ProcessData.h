#pragma once

#include <QMap>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <iosfwd>

namespace Engine {

// One step of a process list: a process type code and its named parameters, each shown to the
// user in the list view or kept internal. Parameters are ordered by name.
class ProcessData {
public:
    // The type of an entry that a failed read produced.
    static constexpr uint32_t kInvalidType = 10000;

    // Every construction takes the next id of a process-wide counter; copies keep the id.
    explicit ProcessData(uint32_t processType = kInvalidType);

    uint32_t id() const { return processId; }
    uint32_t processType() const { return type; }

    // Sets the value and its visibility, replacing an entry of that name.
    void addProcessParameter(const QString &name, const QVariant &value, bool visible);
    // Sets the value only; the visibility stays as it was (hidden for a new name).
    void setProcessParameter(const QString &name, const QVariant &value);
    // An invalid variant, with a debug-log line, when the name is absent.
    QVariant getProcessParameter(const QString &name) const;
    // False, with a debug-log line, when the name is absent.
    bool getParameterVisibility(const QString &name) const;
    bool hasParameter(const QString &name) const { return values.contains(name); }

    const QMap<QString, QVariant> &parameters() const { return values; }
    const QMap<QString, bool> &visibility() const { return visible; }

    bool isExpanded() const { return expanded; }
    void setExpanded(bool on) { expanded = on; }

private:
    uint32_t processId;
    uint32_t type;
    QMap<QString, QVariant> values;
    QMap<QString, bool> visible;
    bool expanded = false;
};

// A readable form for test failure messages: the type, then name=value pairs.
void PrintTo(const ProcessData &step, std::ostream *os);

} // namespace Engine
