// Gravelin.exe: the entry point hands over to the application object.
#include <windows.h>
#include "app/TarnwickApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return theApp.Run(instance);
}
