#pragma once

// Catalogue ids the tests use, and test materials added to the catalogue for a test's lifetime.

#include "Model/Geometry/QuadFace.h"
#include "Model/Materials/MaterialFactory.h"
#include "Model/Materials/MaterialIds.h"

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace TestSupport {

// Materials of the default catalogue.
constexpr uint32_t kSilicon = Model::Materials::kSiliconMaterial;
constexpr uint32_t kOxide = Model::Materials::kThermalOxideMaterial; // "Thermal Si02"
constexpr uint32_t kAluminium = 4;
constexpr uint32_t kCopper = 5;

// Adds materials (id, colour) to the catalogue for the lifetime of the object, then puts the
// catalogue back as it was.
class ScopedTestMaterials {
public:
    explicit ScopedTestMaterials(std::initializer_list<std::pair<uint32_t, Model::Geometry::Rgba>> added)
        : saved(factory()->materials())
    {
        for (const auto &material : added)
            add(material.first, material.second);
    }
    ~ScopedTestMaterials()
    {
        factory()->createDefaultMaterials();
        for (const auto &material : saved)
            factory()->setMaterial(material);
    }
    ScopedTestMaterials(const ScopedTestMaterials &) = delete;
    ScopedTestMaterials &operator=(const ScopedTestMaterials &) = delete;

    static void add(uint32_t id, const Model::Geometry::Rgba &color)
    {
        factory()->setMaterial(Model::Materials::Material(id, QStringLiteral("test %1").arg(id), 1, 1, 0.3f, color));
    }

private:
    static std::shared_ptr<Model::Materials::MaterialFactory> factory()
    {
        return Model::Materials::MaterialFactory::instance();
    }
    std::vector<Model::Materials::Material> saved;
};

} // namespace TestSupport
