// The one place that includes the GL and GLU headers, in the right order for every platform.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glu.h>
#if defined(__EMSCRIPTEN__)
#include "platform/web/gl_compat.h"   // what the browser's GL lacks
#endif

#ifndef GL_CLAMP
#define GL_CLAMP 0x2900
#endif
