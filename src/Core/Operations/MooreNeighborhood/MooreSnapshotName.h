#pragma once

namespace Core {
namespace Operations {

// The snapshot name under which both Moore steps keep their undo and redo records; instance
// numbers count per name, so the two steps' records never collide.
constexpr const char *kMooreSnapshotName = "MooreFilmDep";

} // namespace Operations
} // namespace Core
