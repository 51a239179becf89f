#include "MooreNeighborhoodDeposition.h"

#include "Model/Materials/MaterialIds.h"

namespace Core {
namespace Operations {

MooreNeighborhoodDeposition::MooreNeighborhoodDeposition(Model::Automaton::TotalVolume &volume, uint32_t material,
                                                         uint32_t layers)
    : layers(layers),
      front(volume, MooreFront::Rule{Model::Materials::kEmptyMaterial, material, MooreFront::Seed::NextToSolid})
{
}

void MooreNeighborhoodDeposition::run()
{
    front.run(layers);
}

void depositMooreFilm(Model::Automaton::TotalVolume &volume, uint32_t material, uint32_t layers)
{
    MooreNeighborhoodDeposition(volume, material, layers).run();
}

} // namespace Operations
} // namespace Core
