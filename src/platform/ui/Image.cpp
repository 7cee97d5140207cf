#include "platform/ui/Image.h"

#include <algorithm>
#include <map>

#include "platform/foundation/FileSystem.h"

namespace ui {

namespace {
Image::Decoder& decoder() {
    static Image::Decoder d;
    return d;
}
std::map<std::string, std::shared_ptr<Image>>& cache() {
    static std::map<std::string, std::shared_ptr<Image>> c;
    return c;
}
constexpr std::uint64_t kMaxPictureFile = 64ull * 1024 * 1024;
}  // namespace

Image::Image(int width, int height, std::vector<std::uint8_t> rgba)
    : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0), rgba_(std::move(rgba)) {
    // A buffer that does not match the size would be read past its end when drawn.
    if (rgba_.size() != static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4) {
        rgba_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4, 0);
    }
}

Image::Image(int width, int height, std::shared_ptr<void> native)
    : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0), native_(std::move(native)) {}

std::shared_ptr<Image> Image::stretchable(int leftCap, int topCap) const {
    auto copy = std::make_shared<Image>(*this);
    copy->leftCap_ = std::clamp(leftCap, 0, width_ / 2);
    copy->topCap_ = std::clamp(topCap, 0, height_ / 2);
    return copy;
}

void Image::setDecoder(Decoder d) { decoder() = std::move(d); }
bool Image::hasDecoder() { return static_cast<bool>(decoder()); }

std::shared_ptr<Image> Image::withData(std::string_view bytes) {
    if (!decoder() || bytes.empty()) return nullptr;
    return decoder()(bytes);
}

std::shared_ptr<Image> Image::withContentsOfFile(const std::string& path) {
    auto bytes = platform::fs::readAll(path, kMaxPictureFile);
    if (!bytes) return nullptr;
    auto img = withData(*bytes);
    if (img) img->setName(platform::fs::lastComponent(path));
    return img;
}

std::shared_ptr<Image> Image::named(const std::string& name) {
    auto it = cache().find(name);
    if (it != cache().end()) return it->second;
    auto path = platform::Bundle::pathForResource(name);
    if (!path) return nullptr;
    auto img = withContentsOfFile(*path);
    if (!img) return nullptr;
    img->setName(name);
    cache()[name] = img;
    return img;
}

void Image::clearCache() { cache().clear(); }

}  // namespace ui
