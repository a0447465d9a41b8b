// The single-instance guard: a lock file held for the life of the process.
#pragma once
#include <string>

// Path of the lock file for an instance name: in $XDG_RUNTIME_DIR, else /tmp with the user id.
std::string InstanceLockPath(const char* name);

// Takes the named instance lock and keeps it until the process ends (the kernel frees it
// even on SIGKILL). Returns false when another process holds it: the name "already existed".
// Called once by WinMain.
bool AcquireInstanceLock(const char* name);
