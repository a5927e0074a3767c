#pragma once

#include "heif_boxes.h"

#include "text.h"

#include <optional>
#include <vector>

namespace kadrix::heif {

// What a container may hold, after libheif's security limits: past any of
// them the file is refused before more of it is read.
struct ContainerLimits {
    static constexpr int Items = 1000;              // libheif's `max_items`
    static constexpr int Properties = 4096;         // property boxes
    static constexpr int AssociationEntries = 4096; // over every `ipma` box
    static constexpr int References = 4096;         // item ids over every `iref` box
    static constexpr int ExtentsPerItem = 32;       // libheif's `max_iloc_extents_per_item`
};

// What the container says of the primary image, read once per load from the
// `meta` box (and a few bytes of a grid or overlay description).
struct ContainerReading {
    // The primary item's properties, in the order of its association (the
    // first one listed for it: libheif ignores later ones).
    std::optional<std::vector<ItemProperty>> primaryProperties;
    // The output size a grid's or overlay's description gives: libheif
    // decodes such an image to that size, whatever its extent says.
    std::optional<QSize> describedSize;
    // The grid as the tile path takes it, when the container is understood
    // box for box and the grid is one the tile path frames as libheif does.
    std::optional<GridLayout> grid;
    // Why the file is refused, when it is ("Image invalide: …"): past a
    // limit, or a grid libheif would decode into uninitialised pixels.
    Text refusal;
    // The work done, for the tests: association entries read (each once).
    qint64 associationEntriesRead = 0;
};

ContainerReading readContainer(const MetaBox& meta, const HeifSource& file);

// Whether the file ends inside one of its top-level boxes before a whole
// `meta` box: a file cut short, whatever libheif made of it.
bool cutBeforeMeta(const HeifSource& file);

} // namespace kadrix::heif
