// Colour by number: every palette button shows its digit (the digit of its
// key: 1 to 9, 0 for the tenth), and every area not yet its right colour the
// digit of the button with that colour, at the area's point furthest from its
// outline and as large as the room there allows.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/bitmap.h"
#include "picture/numbermark.h"
#include "rules/colorslist.h"

namespace tintbox {

// Digit heights in pixels. 9 is the height of the digits of the window's own
// 12-pixel text, the smallest it already asks a player to read; 24, twice
// that, reads across the room without taking over a large area, which is
// there to be coloured. A palette button's digit is 18: clear at arm's
// length and leaving 12 pixels of the colour above and below it on the
// button's 42-pixel face.
inline constexpr int32_t NumberMinHeight = 9;
inline constexpr int32_t NumberMaxHeight = 24;
inline constexpr int32_t ButtonNumberHeight = 18;
// The box a digit is fitted into, width over height: wide enough for every
// digit of a bold sans face.
inline constexpr double NumberAspect = 0.75;

// The digit of palette button AIndex (0 is the first): '1' to '9', '0' for
// the tenth; 0 past the tenth, which has no key.
char PaletteDigit(int32_t AIndex);

// The width of the edge round a digit of AHeight: a pixel at the least, a
// twelfth of the height for large ones.
double NumberHalo(double AHeight);

// The digit's colour and its edge's on ABackground: black edged with white,
// or white edged with black, whichever contrasts more with the background
// (by the relative luminance of its sRGB colour).
void NumberInk(TColor ABackground, TColor& AInk, TColor& AEdge);

// The mark of palette button AIndex, of colour AColor, for a square button of
// side ASide: its digit in the middle. Digit 0 past the tenth button.
TNumberMark ButtonNumber(int32_t AIndex, TColor AColor, int32_t ASide);

// The tallest digit in [NumberMinHeight, NumberMaxHeight] whose box and edge
// fit, with a pixel to spare, inside a circle of radius ARoom; 0 when not even
// the smallest fits.
int32_t NumberHeightFor(double ARoom);

// The numbers over APicture for the colour list AList: one for every area (up
// to black) holding a seed point that does not carry its entry's colour, of
// that entry's button (the first such entry in list order), placed at the
// area's point furthest from its outline, sized to the room there, in the ink
// that reads on the area's colour. An area too small for the smallest digit
// gets none, and so do entries past the tenth. In the order of the areas'
// first wrong seed points in the list. None when every seed point is right.
std::vector<TNumberMark> PlaceNumbers(const TBitmap& APicture, const TColorsList& AList);

}  // namespace tintbox
