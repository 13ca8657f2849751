// Program entry: no arguments of its own are read; returns 0.
#include "StartUp.h"

int main(int argc, char** argv) { return tacho::RunTool(argc, argv); }
