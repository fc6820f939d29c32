// Pixel-art sheets: text files of palette lines and character grids, one grid per frame.
//
//   # comment
//   colour k 1b1f2eff        one character, then red green blue alpha in hex
//   frame kavwalk01          a name, then the rows of the frame, top row first
//   ....kkk....
//
// A frame ends at an empty line, a comment or the next directive. All rows of a frame
// have the same length; every character must have a colour.
#pragma once

#include "picture.h"

#include <map>
#include <string>

struct Sheet {
    std::map<std::string, Picture> frames;
    std::string error;   // empty when the sheet read cleanly; else "file:line: what"
};

Sheet ParseSheet(const std::string &text, const std::string &fileName);
bool ReadTextFile(const std::string &path, std::string *text);
