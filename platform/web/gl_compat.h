// What the browser's GL lacks, for the game's OpenGL 1.1 drawing: WebGL with emscripten's
// fixed-function emulation has no display lists and no GLU mipmap builder, refuses the old
// internal formats 3 and 4 and the GL_CLAMP wrap mode. This header follows GL/gl.h in the
// web build and routes the game's calls through replacements that keep their meaning.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

// Display lists, recorded and replayed. The calls below made between glNewList and
// glEndList are kept (and, for GL_COMPILE_AND_EXECUTE, also run); any other call runs at
// once. A list holds at most a few dozen calls, more are dropped. List names come from a
// fixed table.
GLuint KavGenLists(GLsizei range);
void KavDeleteLists(GLuint list, GLsizei range);
void KavNewList(GLuint list, GLenum mode);
void KavEndList();
void KavListBase(GLuint base);
void KavCallLists(GLsizei n, GLenum type, const GLvoid *lists);
void KavCallList(GLuint list);
void KavBegin(GLenum mode);
void KavEnd();
void KavTexCoord2f(GLfloat s, GLfloat t);
void KavTexCoord2i(GLint s, GLint t);
void KavVertex2i(GLint x, GLint y);
void KavVertex2f(GLfloat x, GLfloat y);
void KavTranslated(GLdouble x, GLdouble y, GLdouble z);

// GL_CLAMP becomes GL_CLAMP_TO_EDGE; every other parameter passes unchanged.
void KavTexParameteri(GLenum target, GLenum name, GLint value);

// A texture level with the internal format equal to the format (the old component counts 1
// to 4 name no format WebGL takes).
void KavTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                   GLint border, GLenum format, GLenum type, const void *pixels);

// Level 0 with the internal format equal to the format, the rest by glGenerateMipmap. A
// picture whose sides are not powers of two cannot have mipmaps in WebGL 1: it is kept
// without them, clamped to its edges, filtered linearly. Returns 0, or a GL error code.
GLint KavBuild2DMipmaps(GLenum target, GLint components, GLsizei width, GLsizei height,
                        GLenum format, GLenum type, const void *data);

// Texture names, remembered so that every texture of a context can go with it.
void KavGenTextures(GLsizei n, GLuint *names);
void KavDeleteAllTextures();

// A texture without a picture (name 0, or a name no level 0 was given to) draws as the
// plain colour, as the desktop GL draws with an incomplete texture; WebGL would sample it
// as black. Drawing with such a texture bound uses a white one instead.
void KavBindTexture(GLenum target, GLuint name);

#ifndef KAV_GL_COMPAT_SOURCE
#define glGenLists KavGenLists
#define glDeleteLists KavDeleteLists
#define glNewList KavNewList
#define glEndList KavEndList
#define glListBase KavListBase
#define glCallLists KavCallLists
#define glCallList KavCallList
#define glBegin KavBegin
#define glEnd KavEnd
#define glTexCoord2f KavTexCoord2f
#define glTexCoord2i KavTexCoord2i
#define glVertex2i KavVertex2i
#define glVertex2f KavVertex2f
#define glTranslated KavTranslated
#define glTexParameteri KavTexParameteri
#define glTexImage2D KavTexImage2D
#define gluBuild2DMipmaps KavBuild2DMipmaps
#define glGenTextures KavGenTextures
#define glBindTexture KavBindTexture
#endif
