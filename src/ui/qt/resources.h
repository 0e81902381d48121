#pragma once

namespace heikosen::qt {

// Makes the letter pictures and the icon available under ":/". The resources
// live in a static library, so they are registered explicitly. Safe to call
// repeatedly.
void initResources();

}  // namespace heikosen::qt
