#pragma once

// A frame's SVG text must stand alone and stay cheap to draw: nothing it names may lie outside
// the document (no files, URLs, stylesheets, entities), and its size after <use> expansion is bounded.

#include <QByteArray>

namespace agent::character {

inline constexpr int kMaxSvgElements = 20000;
inline constexpr int kMaxSvgDepth = 64;
// Drawing work after every <use> and gradient link is followed: one unit per element and per
// 32 bytes of attributes and text, and four per path coordinate and per character of text, which
// cost the most to draw (a long self-crossing stroked path takes about a millisecond a segment).
// Our parrot's frames cost about 1500.
inline constexpr qint64 kMaxSvgCost = 3000;

// Throws FormatFault with a reason that follows "frame "name" ".
void checkSvgFrame(const QByteArray& svg);

}  // namespace agent::character
