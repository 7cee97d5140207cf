#include "core/NSStaticUnit.h"

#include <algorithm>


ui::Rect NSStaticUnit::getCaipICGRect(ui::Size picture, ui::Rect frame) {
    float w = static_cast<float>(picture.width), h = static_cast<float>(picture.height);
    if (w <= 0 || h <= 0) return frame;
    float x = static_cast<float>(frame.x()), y = static_cast<float>(frame.y());
    float W = static_cast<float>(frame.width()), H = static_cast<float>(frame.height());
    float s = std::max(w / W, h / H);
    float fw = w / s, fh = h / s;
    return ui::Rect(x + (W - fw) / 2, y + (H - fh) / 2, fw, fh);
}

std::shared_ptr<ui::Image> NSStaticUnit::createRoundedRectImage(std::shared_ptr<ui::Image> picture, ui::Size) {
    return picture;
}
