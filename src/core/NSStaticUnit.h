#pragma once
// Picture placement helpers of the screens.

#include <memory>

#include "platform/ui/Geometry.h"
#include "platform/ui/Image.h"

class NSStaticUnit {
public:
    // The picture of size w x h fitted into the frame (aspect fit, centred); the frame itself
    // when the picture has no size. Computed in single precision.
    static ui::Rect getCaipICGRect(ui::Size picture, ui::Rect frame);
    // The picture unchanged: the screens draw corners themselves.
    static std::shared_ptr<ui::Image> createRoundedRectImage(std::shared_ptr<ui::Image> picture, ui::Size size);
};
