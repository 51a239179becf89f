#include "ColorTable.h"

#include <QMutexLocker>

namespace Model {

namespace {

const char *const kNames[ColorTable::KindCount] = {
    "Object Color",
    "Outline Color",
    "Grid Color",
    "Background Color",
    "Substrate Object Color",
    "Substrate Outline Color",
    "Console Background Color",
    "Console Text Color",
    "Object Temporary Color",
};

using V = Util::Vector4D;
// Rows in Kind order; columns: default scheme, low colour scheme, custom set.
const V kDefaults[ColorTable::KindCount][ColorTable::kSetCount] = {
    {V(0, 0, 0, 1), V(1, 1, 1, 1), V(1, 0, 0, 1)},
    {V(1, 1, 1, 1), V(0, 0, 0, 1), V(1, 1, 1, 1)},
    {V(0.4, 0.4, 0.4, 1), V(0.4, 0.4, 0.4, 1), V(0.4, 0.4, 0.4, 1)},
    {V(0, 0, 0, 0), V(1, 1, 1, 0), V(0, 0, 0, 0)},
    {V(0.4, 0.4, 0.4, 1), V(0.4, 0.4, 0.4, 1), V(0.4, 0.4, 0.4, 1)},
    {V(0.6, 0.6, 0.6, 1), V(0.6, 0.6, 0.6, 1), V(0.6, 0.6, 0.6, 1)},
    {V(1, 1, 1, 1), V(0, 0, 0, 1), V(1, 1, 1, 1)},
    {V(0, 0, 0, 1), V(1, 1, 1, 1), V(0, 0, 0, 1)},
    {V(1, 1, 1, 1), V(0, 0, 0, 1), V(1, 1, 1, 1)},
};

} // namespace

ColorTable &ColorTable::instance()
{
    static ColorTable table;
    return table;
}

ColorTable::ColorTable()
{
    restoreDefaults();
}

QString ColorTable::name(Kind kind)
{
    if (kind < 0 || kind >= KindCount)
        return QString();
    return QString::fromLatin1(kNames[kind]);
}

QStringList ColorTable::names()
{
    QStringList list;
    for (int k = 0; k < KindCount; ++k)
        list << QString::fromLatin1(kNames[k]);
    return list;
}

int ColorTable::clampSet(int set)
{
    return set < 0 ? 0 : (set >= kSetCount ? kSetCount - 1 : set);
}

Util::Vector4D ColorTable::color(Kind kind) const
{
    QMutexLocker lock(&mutex);
    return table[kind][current];
}

Util::Vector4D ColorTable::color(Kind kind, int set) const
{
    QMutexLocker lock(&mutex);
    return table[kind][clampSet(set)];
}

void ColorTable::setColor(Kind kind, int set, const Util::Vector4D &color)
{
    QMutexLocker lock(&mutex);
    table[kind][clampSet(set)] = color;
}

int ColorTable::currentSet() const
{
    QMutexLocker lock(&mutex);
    return current;
}

void ColorTable::setCurrentSet(int set)
{
    QMutexLocker lock(&mutex);
    current = clampSet(set);
}

void ColorTable::restoreDefaults()
{
    QMutexLocker lock(&mutex);
    for (int k = 0; k < KindCount; ++k)
        for (int s = 0; s < kSetCount; ++s)
            table[k][s] = kDefaults[k][s];
    current = kDefaultSet;
}

} // namespace Model
