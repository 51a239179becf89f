#include "MaterialIdMap.h"

namespace Model {
namespace Persistence {

MaterialIdMap &MaterialIdMap::instance()
{
    static MaterialIdMap map;
    return map;
}

} // namespace Persistence
} // namespace Model
