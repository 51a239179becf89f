#include "ProcessValueCodec.h"

#include <QBitArray>
#include <QColor>
#include <QStringList>
#include <vector>

namespace Engine {

namespace {

const QString kBoolType = QStringLiteral("bool");
const QString kIntType = QStringLiteral("int");
const QString kUIntType = QStringLiteral("uint");
const QString kFloatType = QStringLiteral("float");
const QString kDoubleType = QStringLiteral("double");
const QString kStringType = QStringLiteral("QString");
const QString kColorType = QStringLiteral("QColor");
const QString kBoolVectorType = QStringLiteral("vector");
const QString kVector3DType = QStringLiteral("Util::Vector3D");

constexpr char kVectorSeparator = ';';
constexpr int kVector3DDigits = 10; // significant digits of each component in the file

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString bitsText(const QVector<bool> &bits)
{
    QString text;
    text.reserve(bits.size());
    for (bool bit : bits)
        text.append(bit ? QLatin1Char('1') : QLatin1Char('0'));
    return text;
}

QString vectorText(const Util::Vector3D &v)
{
    return QString::number(v.x, 'g', kVector3DDigits) + QLatin1Char(kVectorSeparator) +
           QString::number(v.y, 'g', kVector3DDigits) + QLatin1Char(kVectorSeparator) +
           QString::number(v.z, 'g', kVector3DDigits);
}

Util::Vector3D vectorFromText(const QString &data)
{
    if (data.isEmpty())
        return Util::Vector3D();
    const QStringList parts = data.split(QLatin1Char(kVectorSeparator), Qt::KeepEmptyParts);
    return Util::Vector3D(parts.value(0).toDouble(), parts.value(1).toDouble(), parts.value(2).toDouble());
}

QVector<bool> bitsFromText(const QString &data)
{
    QVector<bool> bits;
    bits.reserve(data.size());
    for (QChar c : data)
        bits.append(c == QLatin1Char('1'));
    return bits;
}

// A number read by `convert`, or the text itself when it is not one (see the header).
template <typename Convert>
QVariant numberOrText(const QString &data, Convert convert)
{
    bool ok = false;
    const auto value = convert(data, &ok);
    return ok ? QVariant(value) : QVariant(data);
}

} // namespace

void registerProcessValueTypes()
{
    static const bool registered = [] {
        qRegisterMetaType<Util::Vector3D>("Util::Vector3D");
        qRegisterMetaType<QVector<bool>>();
        qRegisterMetaType<std::vector<bool>>();
        QMetaType::registerEqualsComparator<Util::Vector3D>();
        QMetaType::registerEqualsComparator<QVector<bool>>();
        QMetaType::registerEqualsComparator<std::vector<bool>>();
        QMetaType::registerConverter<Util::Vector3D, QVariantList>(
            [](const Util::Vector3D &v) { return QVariantList{v.x, v.y, v.z}; });
        QMetaType::registerConverter<QVariantList, Util::Vector3D>([](const QVariantList &list) {
            return Util::Vector3D(list.value(0).toDouble(), list.value(1).toDouble(), list.value(2).toDouble());
        });
        // The list view shows a value's string form: give the two vectors the file's text.
        QMetaType::registerConverter<Util::Vector3D, QString>(vectorText);
        QMetaType::registerConverter<QVector<bool>, QString>(bitsText);
        return true;
    }();
    (void)registered;
}

bool vector3DFromVariant(const QVariant &value, Util::Vector3D &vector)
{
    registerProcessValueTypes();
    if (value.userType() == qMetaTypeId<Util::Vector3D>()) {
        vector = value.value<Util::Vector3D>();
        return true;
    }
    if (value.userType() != QMetaType::QVariantList)
        return false;
    const QVariantList list = value.toList();
    if (list.size() != 3)
        return false;
    double component[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        component[i] = list[i].toDouble(&ok);
        if (!ok)
            return false;
    }
    vector = Util::Vector3D(component[0], component[1], component[2]);
    return true;
}

bool boolVectorFromVariant(const QVariant &value, QVector<bool> &bits)
{
    registerProcessValueTypes();
    if (value.userType() == qMetaTypeId<QVector<bool>>()) {
        bits = value.value<QVector<bool>>();
        return true;
    }
    if (value.userType() == qMetaTypeId<std::vector<bool>>()) {
        const std::vector<bool> source = value.value<std::vector<bool>>();
        bits = QVector<bool>(int(source.size()));
        for (size_t i = 0; i < source.size(); ++i)
            bits[int(i)] = source[i];
        return true;
    }
    if (value.userType() == QMetaType::QBitArray) {
        const QBitArray source = value.toBitArray();
        bits = QVector<bool>(source.size());
        for (int i = 0; i < source.size(); ++i)
            bits[i] = source.testBit(i);
        return true;
    }
    return false;
}

EncodedValue encodeProcessValue(const QVariant &value)
{
    registerProcessValueTypes();
    switch (value.userType()) {
    case QMetaType::Bool:
        return {kBoolType, boolText(value.toBool())};
    case QMetaType::Int:
        return {kIntType, QString::number(value.toInt())};
    case QMetaType::UInt:
        return {kUIntType, QString::number(value.toUInt())};
    case QMetaType::Float:
        return {kFloatType, value.toString()};
    case QMetaType::Double:
        return {kDoubleType, value.toString()};
    case QMetaType::QString:
        return {kStringType, value.toString()};
    case QMetaType::QColor:
        return {kColorType, value.value<QColor>().name()};
    default:
        break;
    }
    QVector<bool> bits;
    if (boolVectorFromVariant(value, bits))
        return {kBoolVectorType, bitsText(bits)};
    Util::Vector3D vector;
    if (vector3DFromVariant(value, vector))
        return {kVector3DType, vectorText(vector)};
    return {QString::fromLatin1(value.typeName()), value.toString()};
}

QVariant decodeProcessValue(const QString &typeName, const QString &data)
{
    registerProcessValueTypes();
    if (typeName == kBoolType)
        return QVariant(data == QLatin1String("true"));
    if (typeName == kIntType)
        return numberOrText(data, [](const QString &text, bool *ok) { return text.toInt(ok, 10); });
    if (typeName == kUIntType)
        return numberOrText(data, [](const QString &text, bool *ok) { return text.toUInt(ok, 10); });
    if (typeName == kFloatType)
        return numberOrText(data, [](const QString &text, bool *ok) { return text.toFloat(ok); });
    if (typeName == kDoubleType)
        return numberOrText(data, [](const QString &text, bool *ok) { return text.toDouble(ok); });
    if (typeName == kStringType)
        return QVariant(data);
    if (typeName == kColorType) {
        QColor color;
        color.setNamedColor(data);
        return QVariant(color);
    }
    if (typeName == kBoolVectorType)
        return QVariant::fromValue(bitsFromText(data));
    if (typeName == kVector3DType)
        return QVariant::fromValue(vectorFromText(data));
    return QVariant();
}

QString processValueText(const QVariant &value)
{
    return encodeProcessValue(value).data;
}

} // namespace Engine
