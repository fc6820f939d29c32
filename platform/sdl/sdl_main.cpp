// Process entry of the SDL2 build.
#include "platform/platform.h"

int main(int argc, char **argv) { return GameMain(argc, argv); }
