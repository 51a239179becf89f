#pragma once

#include "Util/Vector4D.h"

#include <QMutex>
#include <QString>
#include <QStringList>
#include <array>

namespace Model {

// Process-wide table of named display colours: nine kinds, each with three colour sets
// (0 default scheme, 1 low colour scheme, 2 the user's custom set). The view looks colours up
// in the current set; new objects always take set 0; the colours dialog writes into set 2.
class ColorTable {
public:
    enum Kind {
        ObjectColor = 0,
        OutlineColor,
        GridColor,
        BackgroundColor,
        SubstrateObjectColor,
        SubstrateOutlineColor,
        ConsoleBackgroundColor,
        ConsoleTextColor,
        ObjectTemporaryColor,
        KindCount
    };
    static constexpr int kSetCount = 3;
    static constexpr int kDefaultSet = 0;
    static constexpr int kLowColorSet = 1;
    static constexpr int kCustomSet = 2;

    static ColorTable &instance();

    static QString name(Kind kind);
    static QStringList names();

    // Colour of `kind` in the current set.
    Util::Vector4D color(Kind kind) const;
    // Colour of `kind` in set `set` (0..2; other values are clamped).
    Util::Vector4D color(Kind kind, int set) const;
    void setColor(Kind kind, int set, const Util::Vector4D &color);

    int currentSet() const;
    void setCurrentSet(int set);

    // Puts back the built-in values of all three sets and makes set 0 current.
    void restoreDefaults();

private:
    ColorTable();
    static int clampSet(int set);

    mutable QMutex mutex;
    std::array<std::array<Util::Vector4D, kSetCount>, KindCount> table;
    int current = kDefaultSet;
};

} // namespace Model
