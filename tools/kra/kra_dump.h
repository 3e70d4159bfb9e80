#pragma once
// The text `qvn-kra dump` prints for a container the game's loader has loaded: one item a line.

#include <string>

#include "sprite_ui/sprite_container.h"
#include "sprite_ui/sprite_data.h"

namespace qvn_kra {

// `file` is the loader's reading of the file, `data` what it made of it.
std::string DumpKra(const SpriteContainerFile& file, const SpriteData& data);

}  // namespace qvn_kra
