#include "platform/ui/WebView.h"

namespace ui {

namespace {
// What a person reads of an HTML text: the tags dropped, at most 64 KiB of it.
std::string readableText(const std::string& html) {
    constexpr std::size_t kMax = 64 * 1024;
    std::string out;
    bool inTag = false;
    for (char c : html) {
        if (out.size() >= kMax) break;
        if (c == '<') inTag = true;
        else if (c == '>') inTag = false;
        else if (!inTag) out += c;
    }
    return out;
}
}  // namespace

WebView::WebView(const Rect& frame) : View(frame) { setBackgroundColor(Color::whiteColor()); }

void WebView::loadRequest(std::string url) {
    url_ = std::move(url);
    text_.clear();
    setNeedsDisplay();
}

void WebView::loadHTMLString(std::string html, std::string baseUrl) {
    url_ = std::move(baseUrl);
    text_ = readableText(html);
    setNeedsDisplay();
}

}  // namespace ui
