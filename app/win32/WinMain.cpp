// Program entry of the Win32 tool: no arguments are read; returns 0.
#include "StartUp.h"
#include "Unit1.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return tacho::RunTool(); }
