#pragma once
// A scratch device home for fuzz targets that read their input from a file, made once per run.

#include <cstdlib>
#include <string>

#include "core/NSServer.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/Log.h"

inline const std::string& fuzzHome() {
    static const std::string home = [] {
        // In memory where the machine has it: every input is written through an atomic file write.
        char shm[] = "/dev/shm/kovra-fuzz-XXXXXX";
        char tmp[] = "/tmp/kovra-fuzz-XXXXXX";
        std::string path = mkdtemp(shm) ? shm : (mkdtemp(tmp) ? tmp : "/tmp/kovra-fuzz");
        platform::setHomeFolder(path);
        platform::setLogQuiet(true);
        NSServer::loadEnc();
        NSServer::loadPath();
        NSServer::createDir();
        NSServer::setMacAdr("null");
        return path;
    }();
    return home;
}
