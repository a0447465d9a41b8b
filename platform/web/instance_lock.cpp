// One game per browser: the page starts the game only while it holds the site's lock (Web
// Locks); a second tab shows that the game is open elsewhere and starts nothing.
#include "platform/instance_lock.h"

#include "platform/web/page.h"

bool AcquireInstanceLock(const char*) { return PageHoldsGameLock() != 0; }
