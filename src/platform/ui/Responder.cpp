#include "platform/ui/Responder.h"

#include "platform/ui/View.h"

namespace ui {

Point Touch::locationInView(const View* view) const {
    if (!view) return location_;
    return view->convertPointFrom(location_, nullptr);
}

Point Touch::previousLocationInView(const View* view) const {
    if (!view) return previousLocation_;
    return view->convertPointFrom(previousLocation_, nullptr);
}

void Responder::touchesBegan(const TouchSet& touches, const Event* event) {
    if (Responder* next = nextResponder()) next->touchesBegan(touches, event);
}
void Responder::touchesMoved(const TouchSet& touches, const Event* event) {
    if (Responder* next = nextResponder()) next->touchesMoved(touches, event);
}
void Responder::touchesEnded(const TouchSet& touches, const Event* event) {
    if (Responder* next = nextResponder()) next->touchesEnded(touches, event);
}
void Responder::touchesCancelled(const TouchSet& touches, const Event* event) {
    if (Responder* next = nextResponder()) next->touchesCancelled(touches, event);
}

bool Responder::keyPressed(const std::string&) { return false; }

}  // namespace ui
