// Dish pictures: the head of the file is enciphered with the device key.

#include "core/NSServer.h"
#include "platform/ui/Image.h"

std::shared_ptr<ui::Image> NSServer::readCaipImage(const std::string& path) {
    std::string bytes = readCaipImageData(path);
    if (bytes.empty()) return nullptr;
    return ui::Image::withData(bytes);
}
