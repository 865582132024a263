// The DLL's entry function. The tracker is constructed by the runtime's
// static initialisation before this runs and destroyed by its exit routine
// after the detach notification; the entry function itself has nothing to do
// and never makes a load fail.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
