#pragma once

namespace kadrix {

// How a picture larger than the canvas is decoded for framing. Every mode
// gives the same pixels; they differ in what is decoded to get them.
//   Whole:  the whole picture, then its visible part is taken.
//   Window: only the visible columns, reading the rows from the top of the
//           picture down to the window's bottom edge.
//   Seek:   as Window, but a JPEG file with restart markers at the start of
//           its rows is entered at the marker just above the window, so the
//           rows above it are not read at all. Falls back to Window by
//           itself wherever that cannot be done.
enum class DecodeMode { Whole, Window, Seek };

} // namespace kadrix
