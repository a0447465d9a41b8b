// The host entry point: everything happens in WinMain.
#include "app/startup.h"

int main() { return WinMain(); }
