#pragma once

#include "Model/Materials/Material.h"

class QXmlStreamReader;
class QXmlStreamWriter;

namespace Model {
namespace Materials {

// The "Material" element shared by the catalogue file and documents: attributes "version",
// "name", "material-id", "density", "poisson-ratio", "young-modulus" (six significant digits)
// and "color" as "#AARRGGBB" (each channel the component · 255, truncated).
void writeMaterialElement(QXmlStreamWriter &writer, const Material &material);

// Reads the element the reader stands on. False for other elements and for entries without an
// id or a name. A missing number reads as 0, a missing or unreadable colour as the default grey.
bool readMaterialElement(const QXmlStreamReader &reader, Material &material);

} // namespace Materials
} // namespace Model
