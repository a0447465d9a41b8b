// The single-instance guard: one copy of the game at a time.
#pragma once

// Takes the named instance lock and keeps it until the process ends. False when another copy
// holds it: the name "already existed"; a lock that cannot be made at all lets the game run.
// The desktop locks a file in $XDG_RUNTIME_DIR (else /tmp with the user id), which the kernel
// frees even on SIGKILL; the page holds the site's Web Lock. Called once by StartUp.
bool AcquireInstanceLock(const char* name);
