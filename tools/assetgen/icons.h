// The game's icon, drawn from the hero's own art: PNG files in the hicolor theme's sizes
// for the Linux desktop and one .ico file for the Windows program.
#pragma once

#include "picture.h"

#include <string>

// The icon at size by size pixels: the hero's first walk frame, whole-pixel enlarged where
// it fits, on a rounded dark-blue plate with a light rim.
Picture PaintIcon(const Picture &hero, int size);

// Writes outDir/hicolor/NxN/apps/kav.png for N = 16, 24, 32, 48, 64, 128, 256 and
// outDir/kav.ico (the same pictures as PNG entries), from sourceDir/assets/hero.txt.
bool GenerateIcons(const std::string &sourceDir, const std::string &outDir, std::string *error);
