#pragma once
// Dish pictures: a dish seen from above on a tablecloth, in the vessel it is served in. The
// built-in demo menu's pictures and the back-office simulator's demo restaurant are drawn with it,
// so both menus look alike.

#include <optional>
#include <string>

#include <cairo.h>

#include "Palette.h"

namespace artgen {

enum class Vessel {
    Plate,     // pieces of food on a flat plate
    SoupBowl,  // a bowl full to the rim
    Platter,   // a whole fish on an oval platter
    Seafood,   // curled shrimps on a plate
    Steamer,   // dumplings in a bamboo steamer
    RiceBowl,  // a small bowl of rice or noodles, chopsticks beside it
    Cup,       // a dessert cup with fruit on top
    Glass,     // a drink in a glass with a straw
    Tray,      // a set meal: rice, a main dish, a soup and greens on a tray
};

struct DishLook {
    Vessel vessel = Vessel::Plate;
    int seed = 0;              // varies the cloth, the garnish and the arrangement
    std::optional<Rgb> food;   // the food's colour; by seed when not given
};

// Opaque, as the BMP files that hold it are.
void drawDish(cairo_t* cr, double w, double h, const DishLook& look);

// The dish drawn into a 24-bit BMP file of that size.
std::string dishBitmap(const DishLook& look, int width, int height);

}  // namespace artgen
