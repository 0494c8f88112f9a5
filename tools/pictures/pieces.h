// The fifteen pieces of the sprite sheet, each a function from a point of its cell to a colour and
// an opacity. Pairs with pieces.cpp; sheet.cpp samples them into the picture.
#pragma once

#include "tools/pictures/shade.h"

struct Texel {
    shade::Colour colour;  // defined everywhere in the cell, also where the opacity is 0
    float alpha;
};

// A point of a piece's cell: y runs from -1 (bottom) to 1 (top), x from -aspect to aspect, where
// aspect is the cell's width over its height.
using PieceShader = Texel (*)(shade::Vec2 p);

// The shader of atlas row 0 to 14.
PieceShader pieceShader(int row);
