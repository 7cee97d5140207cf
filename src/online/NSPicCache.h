#pragma once
// The picture cache of the online screens: the folder "pic" in the temporary folder, one file per
// picture address, kept across runs. A file's name is made from the whole address, so two
// pictures never share a file and no address can name a file outside the folder.

#include <functional>
#include <memory>
#include <string>

namespace piccache {

// The cache file of a picture address ("" while no temporary folder is set). Creates the folder.
std::string cachePath(const std::string& url);
// Whether the bytes begin like a picture file (PNG, JPEG, GIF, BMP, WebP).
bool isPicture(const std::string& bytes);
// Stores downloaded bytes under the address when they are a picture; answers whether the
// picture's file exists afterwards.
bool store(const std::string& url, const std::string& bytes);
// The picture's file: at once when cached; otherwise after its download (in data mode, with the
// address as the request's tag), on the main loop, with "" when nothing usable came back.
// `receiver` is kept until then. An address already under way is not asked for again: every
// caller waiting for it gets the one answer.
void fetch(const std::string& url, std::shared_ptr<void> receiver,
           std::function<void(const std::string& path)> done);

}  // namespace piccache
