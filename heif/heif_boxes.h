#pragma once

#include <QByteArrayView>
#include <QSize>

#include <optional>
#include <vector>

namespace kadrix::heif {

// A small, bounds-checked reader of the ISO-BMFF container of a HEIF file,
// for what libheif 1.15 does not tell: the order of an item's properties.

// One property box of an item: its four-letter type and its payload.
struct ItemProperty {
    QByteArrayView type;
    QByteArrayView payload;
};

// The properties associated with the primary item, in the order its
// association lists them. Nothing when the file does not hold them where
// expected (no `meta`, `pitm` or `iprp`, a box reaching past its parent, an
// index outside the property container).
std::optional<std::vector<ItemProperty>> primaryProperties(QByteArrayView file);

// The size of the primary image after its transforms, from the size libheif
// reports for it and the properties above. libheif 1.15 sizes an image from
// its properties in their order, so a rotation by a quarter turn listed before
// the image extent (`ispe`) is lost; this turns the size back. Transforms
// after the extent need nothing, and a clean aperture listed before it is left
// as it is (the decoded picture's size corrects it).
QSize correctedSize(QSize reported, const std::vector<ItemProperty>& properties);

} // namespace kadrix::heif
