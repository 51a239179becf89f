#include "MaterialFactory.h"

#include "Model/Materials/MaterialXml.h"

#include "Model/Catalogues.h"

#include <QDebug>
#include <QFile>
#include <QMutexLocker>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtGlobal>

namespace Model {
namespace Materials {

namespace {

constexpr int kRandomRange = 32768;         // draws are taken in 0..32767
constexpr int kUserIdSpan = 30767;          // 2000 + 30767 · r / 32768 stays below 32767
constexpr float kInverseRandomRange = 3.0517578e-5f; // 1 / 32768

const std::vector<Material> &defaultMaterials()
{
    static const std::vector<Material> table = {
        {1, QStringLiteral("Si"), 2329, 1.88e11f, 0.28f, {0.5f, 0.5f, 0.5f, 1.0f}},
        {3, QStringLiteral("Thermal Si02"), 2200, 7e10f, 0.17f, {0.5f, 0.5f, 1.0f, 1.0f}},
        {4, QStringLiteral("Al (bulk)"), 2700, 7e10f, 0.14f, {0.7f, 0.7f, 0.7f, 1.0f}},
        {5, QStringLiteral("Cu (bulk)"), 8960, 1.28e11f, 0.36f, {1.0f, 0.8f, 0.3f, 1.0f}},
        {6, QStringLiteral("Cr (bulk)"), 7190, 2.79e11f, 0.21f, {0.8f, 0.8f, 0.8f, 1.0f}},
        {7, QStringLiteral("Ni (bulk)"), 8908, 2e11f, 0.31f, {0.8f, 0.9f, 0.8f, 1.0f}},
        {8, QStringLiteral("Pt (bulk)"), 21450, 1.68e11f, 0.38f, {0.9f, 0.9f, 0.8f, 1.0f}},
        {9, QStringLiteral("Au (bulk)"), 19300, 7.9e10f, 0.44f, {0.5f, 1.0f, 0.5f, 1.0f}},
        {10, QStringLiteral("Ti (bulk)"), 4506, 1.16e11f, 0.32f, {0.3f, 0.3f, 0.3f, 1.0f}},
        {11, QStringLiteral("Photoresist +"), 1000, 1e9f, 0.4f, {1.0f, 0.5f, 0.5f, 1.0f}},
        {12, QStringLiteral("Photoresist -"), 1000, 1e9f, 0.4f, {1.0f, 0.3f, 1.0f, 1.0f}},
        {13, QStringLiteral("PDMS"), 1000, 1e9f, 0.4f, {1.0f, 1.0f, 1.0f, 1.0f}},
        {14, QStringLiteral("N-doped Si (100)"), 2329, 1.88e11f, 0.28f, {1.0f, 1.0f, 0.67f, 1.0f}},
        {15, QStringLiteral("P-doped Si (100)"), 2329, 1.88e11f, 0.28f, {0.67f, 0.67f, 1.0f, 1.0f}},
        {16, QStringLiteral("Poly-Si"), 2329, 1.88e11f, 0.28f, {0.3f, 0.5f, 0.4f, 1.0f}},
    };
    return table;
}

int randomDraw()
{
    // qrand's range depends on the C library; the id formula expects 15 bits.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    const int r = qrand();
    QT_WARNING_POP
    return r % kRandomRange;
}

} // namespace

std::shared_ptr<MaterialFactory> MaterialFactory::instance()
{
    static const std::shared_ptr<MaterialFactory> factory(new MaterialFactory);
    return factory;
}

Material MaterialFactory::material(uint32_t id)
{
    QMutexLocker locker(&mutex);
    const auto found = catalogue.find(id);
    return found == catalogue.end() ? Material() : found->second;
}

Material MaterialFactory::materialByName(const QString &name)
{
    QMutexLocker locker(&mutex);
    for (const auto &entry : catalogue)
        if (entry.second.name() == name)
            return entry.second;
    return Material();
}

std::vector<Material> MaterialFactory::materials()
{
    QMutexLocker locker(&mutex);
    std::vector<Material> list;
    list.reserve(catalogue.size());
    for (const auto &entry : catalogue)
        list.push_back(entry.second);
    return list;
}

bool MaterialFactory::setMaterial(const Material &material)
{
    if (material.materialId() == 0)
        return false;
    QMutexLocker locker(&mutex);
    Material &entry = catalogue[material.materialId()];
    if (!(entry == material)) {
        entry = material;
        countChange();
    }
    return true;
}

uint32_t MaterialFactory::newMaterialId()
{
    QMutexLocker locker(&mutex);
    uint32_t id = 0;
    do {
        const int r = randomDraw();
        id = kFirstUserMaterialId + static_cast<uint32_t>(static_cast<float>(r * kUserIdSpan) * kInverseRandomRange);
    } while (catalogue.count(id) != 0);
    return id;
}

bool MaterialFactory::loadMaterials()
{
    QMutexLocker locker(&mutex);
    return readCatalogueFile(
        QLatin1String(kFileName), "Materials",
        [this] { // the file, not what was there before, is the catalogue
            catalogue.clear();
            countChange();
        },
        [this](QXmlStreamReader &reader) {
            Material material;
            if (readMaterialElement(reader, material))
                catalogue[material.materialId()] = material;
        },
        Q_FUNC_INFO);
}

bool MaterialFactory::saveMaterials()
{
    QMutexLocker locker(&mutex);
    return writeCatalogueFile(
        QLatin1String(kFileName), "Materials",
        [this](QXmlStreamWriter &writer) {
            for (const auto &entry : catalogue)
                writeMaterialElement(writer, entry.second);
        },
        Q_FUNC_INFO);
}

void MaterialFactory::createDefaultMaterials()
{
    QMutexLocker locker(&mutex);
    catalogue.clear();
    for (const Material &material : defaultMaterials())
        catalogue[material.materialId()] = material;
    countChange();
}

} // namespace Materials
} // namespace Model
