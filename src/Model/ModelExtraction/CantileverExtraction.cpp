#include "CantileverExtraction.h"

#include "Model/ModelExtraction/BoxDecomposition.h"
#include "Model/ModelExtraction/CantileverModelRule.h"
#include "Model/ModelExtraction/ExtractedModel.h"
#include "Model/ModelExtraction/IStructure.h"

#include <QFile>
#include <QTextStream>

namespace Model {
namespace ModelExtraction {

QString extractCantileverNetlist(Automaton::TotalVolume &volume)
{
    const ExtractedModel boxes(decomposeIntoBoxes(volume));
    CantileverModelRule rule;
    const std::shared_ptr<IStructure> structure = rule.apply(boxes);
    return structure ? structure->netlist() : QString();
}

bool saveNetlist(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream stream(&file); // encodes with the system locale's codec
    stream << text;
    stream.flush();
    return stream.status() == QTextStream::Ok && file.error() == QFileDevice::NoError;
}

} // namespace ModelExtraction
} // namespace Model
