#include "MooreNeighborhoodEtching.h"

#include "Model/Materials/MaterialIds.h"

namespace Core {
namespace Operations {

MooreNeighborhoodEtching::MooreNeighborhoodEtching(Model::Automaton::TotalVolume &volume, uint32_t material,
                                                   uint32_t layers)
    : layers(layers),
      front(volume, MooreFront::Rule{material, Model::Materials::kEmptyMaterial, MooreFront::Seed::NextToEmpty})
{
}

void MooreNeighborhoodEtching::run()
{
    front.run(layers);
}

void etchMooreFilm(Model::Automaton::TotalVolume &volume, uint32_t material, uint32_t layers)
{
    MooreNeighborhoodEtching(volume, material, layers).run();
}

} // namespace Operations
} // namespace Core
