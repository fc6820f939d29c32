// The GL the game draws with, completed for the browser: display lists, mipmaps, formats.
#define KAV_GL_COMPAT_SOURCE
#include "platform/web/gl_compat.h"

#include <cstdint>

// In WebGL itself, though the fixed-function header does not declare it.
extern "C" void glGenerateMipmap(GLenum target);

namespace {

// One recorded call and its arguments.
enum OpKind : uint8_t { OP_BEGIN, OP_END, OP_TEXCOORD, OP_VERTEX, OP_TRANSLATE };
struct Op {
    OpKind kind;
    GLenum mode;
    GLfloat a, b;
    GLdouble x, y, z;
};

constexpr GLuint MAX_LISTS = 1024;   // names 1 .. MAX_LISTS - 1
constexpr int MAX_OPS = 32;

struct List {
    bool used;      // handed out by KavGenLists (or named by KavNewList)
    int count;
    Op ops[MAX_OPS];
};

List lists[MAX_LISTS];
GLuint recording;      // the list being recorded, 0 when none
bool executing;        // GL_COMPILE_AND_EXECUTE: recorded calls also run
GLuint listBase;

// Keeps the call when a list is being recorded; true when it must also run now.
bool Record(const Op &op) {
    if (recording == 0) return true;
    List &list = lists[recording];
    if (list.count < MAX_OPS) list.ops[list.count++] = op;
    return executing;
}

constexpr GLuint MAX_NAMES = 4096;
bool filled[MAX_NAMES];   // texture names given a level 0 picture
GLuint bound;             // the game's bound 2-D texture
GLuint white;             // 1 by 1, opaque white: what a texture without a picture draws as

// Before drawing: a bound texture without a picture is swapped for the white one (the
// game's own binding comes back with its next bind).
void UsePlainIfEmpty() {
    if (bound != 0 && (bound >= MAX_NAMES || filled[bound])) return;
    if (white == 0) {
        static const GLubyte texel[4] = {255, 255, 255, 255};
        glGenTextures(1, &white);
        glBindTexture(GL_TEXTURE_2D, white);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
    glBindTexture(GL_TEXTURE_2D, white);
}

void Replay(GLuint name) {
    if (name == 0 || name >= MAX_LISTS || name == recording) return;   // no list calls itself
    const List &list = lists[name];
    for (int i = 0; i < list.count; i++) {
        const Op &op = list.ops[i];
        switch (op.kind) {
        case OP_BEGIN: glBegin(op.mode); break;
        case OP_END: glEnd(); break;
        case OP_TEXCOORD: glTexCoord2f(op.a, op.b); break;
        case OP_VERTEX: glVertex2f(op.a, op.b); break;
        case OP_TRANSLATE: glTranslated(op.x, op.y, op.z); break;
        }
    }
}

bool PowerOfTwo(GLsizei n) { return n > 0 && (n & (n - 1)) == 0; }

constexpr int MAX_TEXTURES = 1024;
GLuint textures[MAX_TEXTURES];
int textureCount;

}   // namespace

GLuint KavGenLists(GLsizei range) {
    if (range <= 0 || (GLuint)range >= MAX_LISTS) return 0;
    // The first run of `range` free names.
    GLuint run = 0;
    for (GLuint name = 1; name < MAX_LISTS; name++) {
        run = lists[name].used ? 0 : run + 1;
        if (run == (GLuint)range) {
            const GLuint first = name - range + 1;
            for (GLuint n = first; n <= name; n++) {
                lists[n].used = true;
                lists[n].count = 0;
            }
            return first;
        }
    }
    return 0;
}

void KavDeleteLists(GLuint list, GLsizei range) {
    for (GLsizei i = 0; i < range; i++) {
        const GLuint name = list + (GLuint)i;
        if (name == 0 || name >= MAX_LISTS) continue;
        lists[name].used = false;
        lists[name].count = 0;
    }
}

void KavNewList(GLuint list, GLenum mode) {
    if (recording != 0 || list == 0 || list >= MAX_LISTS) return;
    recording = list;
    executing = mode == GL_COMPILE_AND_EXECUTE;
    lists[list].used = true;
    lists[list].count = 0;
}

void KavEndList() { recording = 0; }

void KavListBase(GLuint base) { listBase = base; }

void KavCallList(GLuint list) {
    UsePlainIfEmpty();
    Replay(list);
}

void KavCallLists(GLsizei n, GLenum type, const GLvoid *names) {
    if (!names) return;
    UsePlainIfEmpty();
    for (GLsizei i = 0; i < n; i++) {
        GLuint offset;
        switch (type) {
        case GL_BYTE: offset = (GLuint)(GLint)static_cast<const GLbyte *>(names)[i]; break;
        case GL_UNSIGNED_BYTE: offset = static_cast<const GLubyte *>(names)[i]; break;
        case GL_SHORT: offset = (GLuint)(GLint)static_cast<const GLshort *>(names)[i]; break;
        case GL_UNSIGNED_SHORT: offset = static_cast<const GLushort *>(names)[i]; break;
        case GL_INT: offset = (GLuint) static_cast<const GLint *>(names)[i]; break;
        case GL_UNSIGNED_INT: offset = static_cast<const GLuint *>(names)[i]; break;
        default: return;
        }
        Replay(listBase + offset);
    }
}

void KavBegin(GLenum mode) {
    if (!Record(Op{OP_BEGIN, mode, 0, 0, 0, 0, 0})) return;
    UsePlainIfEmpty();
    glBegin(mode);
}
void KavEnd() {
    if (Record(Op{OP_END, 0, 0, 0, 0, 0, 0})) glEnd();
}
void KavTexCoord2f(GLfloat s, GLfloat t) {
    if (Record(Op{OP_TEXCOORD, 0, s, t, 0, 0, 0})) glTexCoord2f(s, t);
}
void KavTexCoord2i(GLint s, GLint t) { KavTexCoord2f((GLfloat)s, (GLfloat)t); }
void KavVertex2f(GLfloat x, GLfloat y) {
    if (Record(Op{OP_VERTEX, 0, x, y, 0, 0, 0})) glVertex2f(x, y);
}
void KavVertex2i(GLint x, GLint y) { KavVertex2f((GLfloat)x, (GLfloat)y); }
void KavTranslated(GLdouble x, GLdouble y, GLdouble z) {
    if (Record(Op{OP_TRANSLATE, 0, 0, 0, x, y, z})) glTranslated(x, y, z);
}

void KavTexParameteri(GLenum target, GLenum name, GLint value) {
    if (value == GL_CLAMP) value = GL_CLAMP_TO_EDGE;
    glTexParameteri(target, name, value);
}

void KavTexImage2D(GLenum target, GLint level, GLint, GLsizei width, GLsizei height, GLint border,
                   GLenum format, GLenum type, const void *pixels) {
    if (target == GL_TEXTURE_2D && level == 0 && bound != 0 && bound < MAX_NAMES) filled[bound] = true;
    glTexImage2D(target, level, (GLint)format, width, height, border, format, type, pixels);
}

GLint KavBuild2DMipmaps(GLenum target, GLint components, GLsizei width, GLsizei height,
                        GLenum format, GLenum type, const void *data) {
    (void)components;   // WebGL takes only the format itself as the internal format
    if (width <= 0 || height <= 0 || !data) return GL_INVALID_VALUE;
    KavTexImage2D(target, 0, components, width, height, 0, format, type, data);
    if (PowerOfTwo(width) && PowerOfTwo(height)) {
        glGenerateMipmap(target);
    } else {
        glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    return (GLint)glGetError();
}

void KavGenTextures(GLsizei n, GLuint *names) {
    glGenTextures(n, names);
    for (GLsizei i = 0; i < n && textureCount < MAX_TEXTURES; i++) textures[textureCount++] = names[i];
}

void KavDeleteAllTextures() {
    glDeleteTextures(textureCount, textures);
    textureCount = 0;
    if (white != 0) glDeleteTextures(1, &white);
    white = 0;
    bound = 0;
    for (bool &f : filled) f = false;
}

void KavBindTexture(GLenum target, GLuint name) {
    if (target == GL_TEXTURE_2D) bound = name;
    glBindTexture(target, name);
}
