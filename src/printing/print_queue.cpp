#include "printing/print_queue.h"

#include <cups/cups.h>

#include <string_view>

namespace heikosen::printing {

bool queueTakesJobs(const std::string& name) {
    if (name.empty()) {
        return true;
    }
    cups_dest_t* queue = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr);
    if (queue == nullptr) {
        return true;
    }
    const char* accepting =
        cupsGetOption("printer-is-accepting-jobs", queue->num_options, queue->options);
    const bool takes = accepting == nullptr || std::string_view(accepting) != "false";
    cupsFreeDests(1, queue);
    return takes;
}

}  // namespace heikosen::printing
