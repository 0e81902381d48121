#pragma once

// The desktop's print queues, as the system's print scheduler has them.

#include <string>

namespace heikosen::printing {

// Whether the print queue `name` takes jobs now. A queue that refuses them
// (stopped from taking work by its administrator) would take the page from
// the program and drop it unseen. True for an empty name (a print to a file)
// and wherever the scheduler cannot tell.
bool queueTakesJobs(const std::string& name);

}  // namespace heikosen::printing
