#pragma once
// Files and folders of the device: the caches and temporary folders under one home folder that
// the shell or a test chooses, whole-file reads, atomic whole-file writes, and the program
// package (resources/) looked up by name.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The device's home: caches are "<home>/Library/Caches", the temporary folder "<home>/tmp",
// the preferences "<home>/Library/Preferences", the pasteboards "<home>/Pasteboards". Setting it
// creates the first three folders. Until it is set the home is "$HOME/.kovra".
void setHomeFolder(const std::string& path);
// The shell's --data-dir: one folder holds everything the device keeps, so that two data folders
// are two devices, each with its own identifier, and nothing goes to the home. It becomes the
// home, with the caches at its top (data/, caippic/, ...) rather than in "Library/Caches"; the
// temporary folder, the preferences and the pasteboards lie beneath it as under any home.
// Setting the home afterwards puts the caches back under that home. An empty path is the
// default home.
void setDataFolder(const std::string& path);
std::string homeFolder();
std::string cachesFolder();
std::string temporaryFolder();
std::string preferencesFolder();
// Changes whenever the home or data folder is set: stores that keep a file of the home in
// memory (user defaults, pasteboards) read it again after a change.
std::uint64_t homeFolderGeneration();

namespace fs {

bool exists(const std::string& path);
bool isFolder(const std::string& path);
// The whole file, or nothing when it is missing, not a regular file, or larger than `maxBytes`.
std::optional<std::string> readAll(const std::string& path,
                                   std::uint64_t maxBytes = 256ull * 1024 * 1024);
// How far a write is flushed. Quick writes are still atomic (never a partial file), but only
// reach the disk with the system's own write-back or flushFileSystemOf: for files that can be
// fetched again, written many at a time (downloaded pictures and their index).
enum class Durability { Durable, Quick };

// Temporary file in the same folder, flushed, then renamed over `path`. Never leaves a partial
// file behind; the old content survives a failed write.
bool writeAtomically(const std::string& path, const std::string& bytes,
                     Durability durability = Durability::Durable);
// Whether `name` names a file inside a folder and nothing else: not empty, "." or "..", and
// without "/", "\" (a separator where our files come from) or NUL.
bool isPlainFileName(const std::string& name);
// A plain file name short enough that writeAtomically can write it: its temporary file must fit
// the file system's name limit too.
bool isStorableFileName(const std::string& name);
// Removes the temporary files that an interrupted writeAtomically left in the folder (its own
// files are never touched). Answers how many were removed.
int removeStaleTemporaries(const std::string& folder);
// The names of the regular files in the folder (none when it is missing), in no set order.
std::vector<std::string> regularFileNames(const std::string& folder);
// Flushes everything written to the file system that holds `path`.
void flushFileSystemOf(const std::string& path);
bool remove(const std::string& path);           // a file, or a folder with its content
bool createFolder(const std::string& path);     // with missing parents; true when it exists after
bool copyFile(const std::string& from, const std::string& to);  // atomic on the target side
std::string lastComponent(const std::string& path);
std::string join(const std::string& folder, const std::string& name);

}  // namespace fs

// The program package: the resources folder that ships with the program.
class Bundle {
public:
    static void setResourceFolder(const std::string& path);
    static std::string resourceFolder();
    // The path of resource `name` (no type), or nothing when it is missing. A name that would
    // leave the folder ("/", "..") is never found.
    static std::optional<std::string> pathForResource(const std::string& name);
    // "name.type"
    static std::optional<std::string> pathForResource(const std::string& name, const std::string& type);
};

}  // namespace platform
