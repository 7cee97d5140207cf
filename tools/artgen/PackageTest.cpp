// The committed package against the code and the generator: every picture and sound the
// program names is there, and every generated file is what the generator draws today (a changed
// generator whose files were not drawn again fails here).

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "Pictures.h"
#include "Sounds.h"
#include "platform/foundation/FileSystem.h"
#include "platform/render/Bitmap.h"
#include "platform/render/Png.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = KOVRA_SOURCE_DIR;
const fs::path kPackage = kSource / "resources";

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The package files the program's sources name: picture literals ("2-137.png", "%i-119.png"
// filled with each interface type), pictures by interface number (interfacePicture(4)) and
// the sounds it plays (playSound("WELC") -> WELC.WAV). Names built at run time from data (dish
// pictures, "%@" formats) are not the package's and are left out, and so is the platform layer,
// which knows no picture of the program.
std::set<std::string> namesInSources() {
    const std::regex literal(R"re("([A-Za-z0-9_%@.\-]+\.png)")re");
    const std::regex byNumber(R"re(interfacePicture\(([^)]*)\))re");
    const std::regex number(R"re(\b\d+\b)re");
    const std::regex sound(R"re(playSound\("([A-Z0-9]+)"\))re");
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(kSource / "src")) {
        if (entry.path().string().find("/src/platform/") != std::string::npos) continue;
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        const std::string text = readText(entry.path());
        for (std::sregex_iterator m(text.begin(), text.end(), literal), end; m != end; ++m) {
            std::string name = (*m)[1];
            if (name.find("%@") != std::string::npos) continue;
            const auto typed = name.find("%i");
            if (typed == std::string::npos) {
                names.insert(name);
                continue;
            }
            if (name.find('%', typed + 1) != std::string::npos) continue;
            for (int t : artgen::kInterfaceTypes) names.insert(std::string(name).replace(typed, 2, std::to_string(t)));
        }
        for (std::sregex_iterator m(text.begin(), text.end(), byNumber), end; m != end; ++m) {
            const std::string args = (*m)[1];
            for (std::sregex_iterator n(args.begin(), args.end(), number); n != end; ++n)
                for (int t : artgen::kInterfaceTypes) names.insert(std::to_string(t) + "-" + (*n)[0].str() + ".png");
        }
        for (std::sregex_iterator m(text.begin(), text.end(), sound), end; m != end; ++m)
            names.insert((*m)[1].str() + ".WAV");
    }
    return names;
}

TEST(Package, HoldsEveryPictureAndSoundTheProgramNames) {
    const auto names = namesInSources();
    // The scan itself must work, or the test would pass on nothing.
    ASSERT_TRUE(names.count("2-137.png") || names.count("WELC.WAV")) << "no package names found in src/";
    for (const auto& name : names) EXPECT_TRUE(fs::exists(kPackage / name)) << name << " is named in src/ but missing";
}

TEST(Package, PicturesAreWhatTheGeneratorDraws) {
    for (const auto& picture : artgen::pictures()) {
        const auto stored = render::decodeImageFile((kPackage / picture.name).string());
        ASSERT_TRUE(stored) << picture.name << " missing or unreadable";
        cairo_surface_t* surface = artgen::renderPicture(picture);
        const render::Bitmap drawn = render::bitmapFromSurface(surface);
        cairo_surface_destroy(surface);
        ASSERT_EQ(stored->width, picture.width) << picture.name;
        ASSERT_EQ(stored->height, picture.height) << picture.name;
        // Glyph edges may differ by a shade between font library versions; shapes may not.
        long differing = 0;
        for (std::size_t i = 0; i < drawn.pixels.size(); ++i)
            for (int shift = 0; shift < 32; shift += 8) {
                const int a = (stored->pixels[i] >> shift) & 0xff, b = (drawn.pixels[i] >> shift) & 0xff;
                if (std::abs(a - b) > 24) ++differing;
            }
        EXPECT_LE(differing, picture.width * picture.height * 4 / 200) << picture.name << " differs from the generator";
    }
}

TEST(Package, SoundsAreWhatTheGeneratorMakesAndThePlayerReadsThem) {
    for (const auto& sound : artgen::sounds()) {
        const auto stored = platform::fs::readAll((kPackage / sound.name).string());
        ASSERT_TRUE(stored) << sound.name << " missing";
        EXPECT_TRUE(*stored == sound.bytes) << sound.name << " differs from the generator";
        // The window's sound player loads WAV files through SDL: a short sound it can read.
        SDL_AudioSpec spec{};
        Uint8* samples = nullptr;
        Uint32 length = 0;
        SDL_RWops* rw = SDL_RWFromConstMem(stored->data(), static_cast<int>(stored->size()));
        ASSERT_NE(SDL_LoadWAV_RW(rw, 1, &spec, &samples, &length), nullptr) << sound.name << ": " << SDL_GetError();
        const double seconds = double(length) / (spec.freq * spec.channels * (SDL_AUDIO_BITSIZE(spec.format) / 8));
        EXPECT_GT(seconds, 0.1) << sound.name;
        EXPECT_LT(seconds, 1.5) << sound.name;
        SDL_FreeWAV(samples);
    }
}

}  // namespace
