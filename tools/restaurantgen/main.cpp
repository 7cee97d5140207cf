// restaurantgen: writes a synthetic restaurant's menu and floor tables into a data folder.
//
//   restaurantgen FOLDER [DISHES] [SEED] [DEVICE_KEY]
//
// The folder is created when missing. DEVICE_KEY is the key the terminal reading the files holds
// ("null" before enrolment, the default).

#include <cstdio>
#include <cstdlib>
#include <string>

#include "RestaurantGen.h"
#include "platform/foundation/FileSystem.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 5) {
        std::fprintf(stderr, "usage: %s FOLDER [DISHES] [SEED] [DEVICE_KEY]\n", argv[0]);
        return 2;
    }
    restaurantgen::Options o;
    const std::string folder = argv[1];
    if (argc > 2) o.dishes = platform::leadingInt(argv[2]);
    if (argc > 3) o.seed = static_cast<std::uint32_t>(platform::leadingLongLong(argv[3]));
    if (argc > 4) o.key = argv[4];
    if (o.dishes < 0 || o.dishes > 1000000) {
        std::fprintf(stderr, "DISHES must be between 0 and 1000000\n");
        return 2;
    }
    if (!platform::fs::createFolder(folder)) {
        std::fprintf(stderr, "cannot create %s\n", folder.c_str());
        return 1;
    }
    if (!restaurantgen::writeTables(restaurantgen::makeTables(o), folder, o.key)) {
        std::fprintf(stderr, "cannot write the tables into %s\n", folder.c_str());
        return 1;
    }
    std::printf("%d dishes written to %s\n", o.dishes, folder.c_str());
    return 0;
}
