#pragma once

// Deterministic mutations of XML inputs, for fuzzing the readers from a fixed seed: bit flips,
// truncations, duplicated and deleted spans, numbers replaced by huge, negative or malformed
// ones, and deep nesting.

#include <QByteArray>
#include <cstdint>
#include <random>

namespace Fuzz {

class Mutator {
public:
    explicit Mutator(uint32_t seed) : random(seed) {}

    // One to four mutations of `input`, chosen at random.
    QByteArray mutate(const QByteArray &input);

private:
    size_t below(size_t limit); // uniform in [0, limit); 0 when limit is 0

    void flipBits(QByteArray &bytes);
    void truncate(QByteArray &bytes);
    void duplicateSpan(QByteArray &bytes);
    void deleteSpan(QByteArray &bytes);
    void replaceNumber(QByteArray &bytes);
    void nestDeeply(QByteArray &bytes);
    void spliceMarkup(QByteArray &bytes);

    std::mt19937 random;
};

} // namespace Fuzz
