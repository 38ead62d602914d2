// Colour values written as text in a skin description: "216 208 200" is red,
// green and blue. Standard library only.
#pragma once

#include <cstdint>
#include <string>

// Reads a colour text. The text is trimmed; every maximal run of decimal
// digits is a number; a number is taken when something follows it, and the
// first three taken are red, green and blue (each cut to its low 8 bits).
// The number at the very end of the text is only taken as blue, when exactly
// two came before it, so "12" gives black and "12 34" gives red 12. Missing
// parts are 0 and numbers after the third are ignored. Returns false for an
// empty text (the caller keeps its default); otherwise sets `colour` to
// red | green << 8 | blue << 16.
bool ParseColourText(const std::string& text, std::uint32_t& colour);

// ParseColourText with a default for the empty text.
std::uint32_t ColourTextToColour(const std::string& text, std::uint32_t defaultColour);
