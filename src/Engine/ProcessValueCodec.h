#pragma once

// The value encodings of process-list files: every parameter value is stored as a
// type name and a data string. Besides the plain variant types, two vectors have names of
// their own:
// - "vector", a bool vector (masks, one bool per mask pixel, row by row). In memory it is a
//   QVector<bool>; QBitArray and std::vector<bool> values are written the same way.
// - "Util::Vector3D", three doubles ("Lower Left Front Corner"). In memory it is a
//   Util::Vector3D; a QVariantList of three numbers is written the same way. A Util::Vector3D variant converts to and from a
//   QVariantList of three doubles, so QVariant::toList() works on a value read from a file.
// Both vectors convert to their file text with QVariant::toString().

#include "Util/Vector3D.h"

#include <QString>
#include <QVariant>
#include <QVector>

namespace Engine {

// Registers the comparators and converters above; called by ProcessData and the list file,
// and safe to call again from any thread.
void registerProcessValueTypes();

struct EncodedValue {
    QString typeName;
    QString data;
};

EncodedValue encodeProcessValue(const QVariant &value);
// An invalid value for a type name outside the table. Number data that does not convert is
// kept as its text, so that the step runner reports it as an invalid value (code 2) instead of
// running with 0.
QVariant decodeProcessValue(const QString &typeName, const QString &data);

// The three doubles of a Util::Vector3D or of a list of three numbers; false for anything else.
bool vector3DFromVariant(const QVariant &value, Util::Vector3D &vector);
// The bools of a QVector<bool>, std::vector<bool> or QBitArray value; false for anything else.
bool boolVectorFromVariant(const QVariant &value, QVector<bool> &bits);

// A readable text of a value, as the list file writes it (for logs and test messages).
QString processValueText(const QVariant &value);

} // namespace Engine
