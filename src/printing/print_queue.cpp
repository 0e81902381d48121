#include "printing/print_queue.h"

#include <cups/cups.h>
#include <dlfcn.h>

#include <string_view>

namespace heikosen::printing {

namespace {

// The scheduler's library, loaded when a print first asks for it: the program
// starts without it and the libraries it brings, as Qt's printing does.
struct Scheduler {
    decltype(&cupsGetNamedDest) namedQueue = nullptr;
    decltype(&cupsGetOption) option = nullptr;
    decltype(&cupsFreeDests) free = nullptr;
};

template <typename Function>
void find(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
}

const Scheduler& scheduler() {
    static const Scheduler loaded = [] {
        Scheduler s;
        if (void* library = dlopen("libcups.so.2", RTLD_LAZY | RTLD_LOCAL)) {
            find(library, "cupsGetNamedDest", s.namedQueue);
            find(library, "cupsGetOption", s.option);
            find(library, "cupsFreeDests", s.free);
        }
        return s;
    }();
    return loaded;
}

}  // namespace

bool queueTakesJobs(const std::string& name) {
    const Scheduler& cups = scheduler();
    if (name.empty() || !cups.namedQueue || !cups.option || !cups.free) {
        return true;
    }
    cups_dest_t* queue = cups.namedQueue(CUPS_HTTP_DEFAULT, name.c_str(), nullptr);
    if (queue == nullptr) {
        return true;
    }
    const char* accepting =
        cups.option("printer-is-accepting-jobs", queue->num_options, queue->options);
    const bool takes = accepting == nullptr || std::string_view(accepting) != "false";
    cups.free(1, queue);
    return takes;
}

}  // namespace heikosen::printing
