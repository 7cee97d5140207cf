// artgen: draws the package's pictures and synthesises its sounds into a folder.
//
//   artgen FOLDER
//
// Every file is written whole and atomically; files of the folder that artgen does not make
// (the word table, the default skin) are left alone.

#include <cstdio>
#include <string>

#include "Pictures.h"
#include "Sounds.h"
#include "platform/foundation/FileSystem.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    if (!platform::fs::createFolder(folder)) {
        std::fprintf(stderr, "cannot create %s\n", folder.c_str());
        return 1;
    }
    int failures = 0;
    for (const auto& picture : artgen::pictures()) {
        const auto bytes = artgen::encodePicture(picture);
        if (!bytes || !platform::fs::writeAtomically(platform::fs::join(folder, picture.name), *bytes,
                                                     platform::fs::Durability::Quick)) {
            std::fprintf(stderr, "cannot write %s\n", picture.name.c_str());
            ++failures;
        }
    }
    for (const auto& sound : artgen::sounds()) {
        if (!platform::fs::writeAtomically(platform::fs::join(folder, sound.name), sound.bytes,
                                           platform::fs::Durability::Quick)) {
            std::fprintf(stderr, "cannot write %s\n", sound.name.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
