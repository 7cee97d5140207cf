// kovra: the ordering terminal in a desktop window, or headless under a script. The options
// belong to the shell (where the device keeps its files, where it stands, which servers it
// reaches); the terminal itself reads none.
//
//   kovra [--data-dir DIR] [--position LAT,LNG [--place CITY]] [--server-port N] [--web-service URL]
//         [--headless [--script FILE|-] [--screenshot FILE]]

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <memory>
#include <string>

#include "core/NSServer.h"
#include "core/SwitchAppDelegate.h"
#include "net/ServerClient.h"
#include "online/NSHTTPServer.h"
#include "platform/foundation/FileSystem.h"
#include "platform/foundation/RunLoop.h"
#include "platform/location/LocationManager.h"
#include "platform/location/ReverseGeocoder.h"
#include "platform/shell/HeadlessShell.h"
#include "platform/shell/Script.h"
#include "platform/shell/WindowShell.h"
#include "screens/root/SwitchViewController.h"

namespace {

struct Options {
    std::string dataDir;
    bool headless = false;
    std::string script;
    std::string screenshot;
    std::optional<location::Coordinate> position;
    std::string place;
    std::optional<int> serverPort;
    std::string webService;
};

const char* kUsage =
    "usage: kovra [--data-dir DIR] [--position LAT,LNG [--place CITY]] [--server-port N] [--web-service URL]\n"
    "             [--headless [--script FILE|-] [--screenshot FILE]]\n"
    "  --data-dir DIR     keep everything the device keeps in DIR, not in ~/.kovra: its caches\n"
    "                     (menu, orders, settings), its temporary files (downloaded pictures)\n"
    "                     in DIR/tmp, and its preferences and pasteboards (its identifier)\n"
    "  --position LAT,LNG where the device stands, in degrees (without it the device cannot tell)\n"
    "  --place CITY       the city the device's position lies in (without it no place is found)\n"
    "  --server-port N    the back office listens on port N, not 7992 (a simulator of the tests)\n"
    "  --web-service URL  the online part's service, not http://127.0.0.1:7993/app/Android/\n"
    "  --headless         run without a window, on a clock that only the script moves\n"
    "  --script FILE      the steps to run headless (tap, drag, type, expect, wait, ...); with -, the\n"
    "                     steps come one line at a time from standard input, each answered on a line\n"
    "  --screenshot FILE  save the screen as PNG when the headless run ends, also after a failure\n";

bool parse(int argc, char** argv, Options& o, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                error = a + " needs a value";
                return false;
            }
            into = argv[++i];
            return true;
        };
        if (a == "--data-dir") {
            if (!value(o.dataDir)) return false;
        } else if (a == "--script") {
            if (!value(o.script)) return false;
        } else if (a == "--screenshot") {
            if (!value(o.screenshot)) return false;
        } else if (a == "--position") {
            std::string text;
            if (!value(text)) return false;
            char* end = nullptr;
            const double lat = std::strtod(text.c_str(), &end);
            const bool comma = end && *end == ',';
            const double lng = comma ? std::strtod(end + 1, &end) : 0;
            if (!comma || !end || *end != '\0' || lat < -90 || lat > 90 || lng < -180 || lng > 180) {
                error = "--position needs LAT,LNG in degrees";
                return false;
            }
            o.position = location::Coordinate{lat, lng};
        } else if (a == "--place") {
            if (!value(o.place)) return false;
        } else if (a == "--server-port") {
            std::string text;
            if (!value(text)) return false;
            char* end = nullptr;
            const long port = std::strtol(text.c_str(), &end, 10);
            if (!end || *end != '\0' || port < 1 || port > 65535) {
                error = "--server-port needs a port from 1 to 65535";
                return false;
            }
            o.serverPort = static_cast<int>(port);
        } else if (a == "--web-service") {
            if (!value(o.webService)) return false;
            if (o.webService.rfind("http://", 0) != 0 && o.webService.rfind("https://", 0) != 0) {
                error = "--web-service needs an http:// or https:// address";
                return false;
            }
        } else if (a == "--headless") {
            o.headless = true;
        } else {
            error = "unknown option " + a;
            return false;
        }
    }
    if (!o.place.empty() && !o.position) {
        error = "--place needs --position";
        return false;
    }
    if (!o.headless && (!o.script.empty() || !o.screenshot.empty())) {
        error = "--script and --screenshot need --headless";
        return false;
    }
    return true;
}

// After the shell has gone (and with it the window, its screens and then its focus): the workers
// whose work still holds screens or pages, before the hub they read goes with the delegate and
// before the program's statics (the list of alerts a page reads as it goes) do.
void stopWorkers() {
    // Joins HTTP-Thread; its unanswered requests let go of their pages here.
    NSHTTPServer::stopWorker();
    // Answers, frames and timers posted or scheduled and never run hold requests and screens too.
    platform::RunLoop::setMain(nullptr);
}

int runHeadless(const Options& o) {
    shell::Script script;
    if (!o.script.empty() && o.script != "-") {
        script = shell::loadScript(o.script);
        if (!script.ok()) {
            std::cerr << "kovra: " << o.script << ": " << script.error << "\n";
            return 1;
        }
    }
    // Before the delegate exists: its loaders may already schedule timers on the main loop.
    platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(std::make_shared<platform::ManualClock>()));
    int status = 0;
    {
        // Made before the shell and gone after it: the hub outlives the screens.
        SwitchAppDelegate app;
        {
            shell::HeadlessShell host;
            host.launch(app);
            if (o.script == "-") host.runSteps(std::cin, std::cout);
            else status = host.runScript(script, std::cout, std::cerr);
            // Also after a failed step: the picture shows what was on screen when it failed.
            if (!o.screenshot.empty()) {
                const std::string failure = host.screenshot(o.screenshot);
                if (!failure.empty()) {
                    std::cerr << "kovra: " << failure << "\n";
                    status = 1;
                }
            }
        }
        stopWorkers();
    }
    return status;
}

int runWindow() {
    int status = 0;
    {
        SwitchAppDelegate app;
        {
            shell::WindowShell host;
            std::string error;
            if (!host.open(&error)) {
                std::cerr << "kovra: cannot open the window: " << error << "\n";
                status = 1;
            } else {
                status = host.run(app);
            }
        }
        stopWorkers();
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    std::string error;
    if (!parse(argc, argv, o, error)) {
        std::cerr << "kovra: " << error << "\n" << kUsage;
        return 2;
    }
    if (!o.dataDir.empty()) {
        if (!platform::fs::createFolder(o.dataDir)) {
            std::cerr << "kovra: cannot use " << o.dataDir << " as the data folder\n";
            return 1;
        }
        platform::setDataFolder(o.dataDir);
    }
    // The device's position and the place it lies in, as a receiver and a map service would tell.
    location::LocationManager::setDevicePosition(o.position);
    if (o.serverPort) NSServer::setStandardPort(*o.serverPort);
    if (!o.webService.empty()) NSHTTPServer::setHTTPAddress(o.webService);
    if (!o.place.empty()) {
        location::Placemark place;
        place.country = "中国";
        place.administrativeArea = o.place;
        place.locality = o.place;
        place.thoroughfare = "";  // a city, no street
        place.subThoroughfare = "";
        place.coordinate = *o.position;
        location::ReverseGeocoder::setPlace(place);
    }
    // The delegate's loaders may already enrol the device with a configured server.
    installServerClient();
    // The root controller that hosts every screen; it registers itself and the services the
    // server client shows its waits and failures through.
    SwitchAppDelegate::setRootControllerMaker([] { return SwitchViewController::create(); });
    return o.headless ? runHeadless(o) : runWindow();
}
