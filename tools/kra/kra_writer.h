#pragma once
// Writes a sprite container from its source, refusing what the game's loader would refuse: an
// unknown magic, more than 32 textures, animations whose compiled code passes 65,536 bytes,
// and whatever the file cannot hold (names longer than their fields, counts above 32,767, a
// version 3 point list of more than two points, animation texts beyond the 16-bit offsets). A
// part must name one of the textures.
//
// Versions 2, 3 and 4 keep the sections one after the other: header, texture records, point
// lists, part records, animation records, then the animation texts. Version 5 puts the texts
// right behind its offset table (so their 16-bit offsets always reach them), then the sections
// in the same order, found through the table.

#include <cstdint>
#include <optional>
#include <vector>

#include "kra/kra_source.h"

namespace qvn_kra {

// With `checked` false only what the file cannot hold is refused, so that tests and fuzz seeds
// can be made of containers the loader refuses (a version 3 point list then keeps its first two
// points).
std::optional<std::vector<std::uint8_t>> WriteKra(const KraSource& source, KraError* error,
                                                  bool checked = true);

}  // namespace qvn_kra
