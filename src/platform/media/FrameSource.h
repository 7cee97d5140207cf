#pragma once
// The pictures of a video file, decoded one after the other for the player to show. The real
// player reads them on a worker thread; which decoder opens a file is installed by the shell.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace media {

class FrameSource {
public:
    struct Frame {
        int width = 0;
        int height = 0;
        std::vector<unsigned char> rgba;  // width * height * 4 bytes, rows top to bottom
        double time = 0;                  // seconds from the start of the video
    };
    virtual ~FrameSource() = default;
    // The next picture, or none at the end of the video (or where the file is damaged).
    virtual std::optional<Frame> next() = 0;
};

// Opens a video file; none when it cannot be played.
using FrameSourceOpener = std::function<std::unique_ptr<FrameSource>(const std::string& path)>;

// The decoder of Debian's libavformat and libavcodec, when the program was built with them
// (none otherwise). Pictures larger than kMaxFrameWidth are scaled down to it.
FrameSourceOpener libavOpener();
inline constexpr int kMaxFrameWidth = 1024;

}  // namespace media
