// Turning a coloured drawing into a picture the game can play: flat colours,
// outlines of pure black, no two colours touching, no area too small to click.
// Each rule is its own step so that it can be tried alone; ImportDrawing runs
// them all in order. The drawing comes in already fitted and placed
// (PlaceDrawing); reading files and resizing belong to the command.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/bitmap.h"
#include "picture/color.h"
#include "rules/limits.h"

namespace tintbox {

struct TImportSize {
  int32_t Width = 0;
  int32_t Height = 0;
  friend bool operator==(const TImportSize&, const TImportSize&) = default;
};

// The size an AWidth x AHeight drawing takes when fitted into ABox with its
// proportions kept: as large as fits, never below 1 x 1. Sizes below 1 give
// 0 x 0.
TImportSize FitInto(int64_t AWidth, int64_t AHeight, TImportSize ABox = {ViewWidth, ViewHeight});

// The drawing at APixels (AWidth x AHeight premultiplied 0xAARRGGBB pixels,
// AStride pixels a row: the layout of QImage's ARGB32_Premultiplied) laid on
// white, centred in a white picture of ABox. Fails with EInvalidGraphic when
// the drawing is larger than the box.
void PlaceDrawing(const uint32_t* APixels, int32_t AWidth, int32_t AHeight, size_t AStride,
                  TBitmap& AOut, TImportSize ABox = {ViewWidth, ViewHeight});

// The limits a picture is held to; the defaults are the game's and the
// picture checker's (rules/limits.h).
struct TImportOptions {
  int MaxColors = tintbox::MaxColors;               // palette colours (white included), 2..10
  int GreyLimit = tintbox::GreyLimit;               // every channel below: near-black, so outline
  int64_t MinAreaPixels = tintbox::TinyAreaPixels;  // smaller areas are too small to click
  int64_t StrayPixels = tintbox::StrayPixels;       // a colour this rare lying only along outlines
  int32_t PixelScale = 1;  // picture pixels a side per drawing pixel, for a
                           // drawing enlarged as blocks
};

// Step 1, the outline: 1 for every pixel that is ink (near-black by AGreyLimit,
// or a dark grey or brown), 0 for the rest.
std::vector<uint8_t> OutlineMask(const TBitmap& ADrawing, int AGreyLimit);

// Step 2, the colours: every pixel of ADrawing that is not ink gets one of at
// most AOptions.MaxColors flat colours, or black. Neighbouring pixels of
// similar colour (shading, gradients, texture, noise) form one area; thin
// slivers and areas too small to click (anti-aliased fringes, specks) join
// the neighbour they look most like, the outline included; areas that look
// the same anywhere in the picture share a colour. Colours may still touch.
void FlattenColors(const TBitmap& ADrawing, const std::vector<uint8_t>& AInk,
                   const TImportOptions& AOptions, TBitmap& APicture);

// Step 3, separation: wherever two different colours touch side by side, the
// pixel of the two that strays further from ADrawing becomes black.
void SeparateColors(TBitmap& APicture, const TBitmap& ADrawing);

// Step 4, what a player could not use: areas under MinAreaPixels become
// outline, a colour as rare as StrayPixels lying only along outlines takes the
// nearest other colour, and an area the game's scan would find no seed point
// in loses its first pixel to the outline. Expects separated colours.
void RemoveUnplayable(TBitmap& APicture, const TImportOptions& AOptions);

// The mean over all pixels of the Euclidean distance of the three channels;
// the two bitmaps must have one size (EInvalidGraphic otherwise).
double MeanRgbDistance(const TBitmap& A, const TBitmap& B);

struct TImportReport {
  int32_t Width = 0, Height = 0;
  int Colors = 0;        // colours besides black
  int64_t Areas = 0;     // areas a player fills
  double ToBlack = 0;    // share of pixels made black that were not outline
  double Recolored = 0;  // share of pixels given a visibly other colour
  double Distance = 0;   // MeanRgbDistance to the drawing
};

// All steps on a placed drawing. Fails with EConvertError when fewer than two
// colours remain (a drawing all outline, or of one colour): the game needs two
// to play.
TImportReport ImportDrawing(const TBitmap& ADrawing, const TImportOptions& AOptions,
                            TBitmap& APicture);

}  // namespace tintbox
