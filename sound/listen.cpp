// What a step sounds like, read from the world as the step leaves it: the note taken after
// the step before is compared with the pools now. A shot record that is active now is a new
// shot unless it is the one noted, moved on by its speed; an explosion is new unless it is
// the one noted, advanced by one frame. The note is all this file keeps.
#include "sound/sound.h"
#include "world/world.h"

#include <cstring>

namespace {

struct ShotNote {
    uint8_t active, face;
    float x, speed, framebeg;
};

struct BlastNote {
    uint8_t active;
    float x, y, frame, framespd, frameend;
};

ShotNote shotNotes[SHOT_POOL_SIZE];
BlastNote blastNotes[EXPLOSION_POOL_SIZE];
uint8_t alarmNotes[POOL_SIZE];
uint8_t trainActiveNotes[POOL_SIZE];
float trainXNotes[POOL_SIZE];
int32_t mapNote;
uint8_t jumpingNote;

// Equal, or both NaN: a record left alone reads as unchanged whatever it holds.
bool Same(float a, float b) { return a == b || (a != a && b != b); }

void Hear(StepSounds *out, int id, float x) {
    out->count[id]++;
    out->x[id] += x;
}

// What made a new shot, told by the frames each maker gives it.
int ShotSound(const ObjectRecord &s) {
    if (s.framebeg == 10.0f) return SFX_SHELL;
    if (s.framebeg == 2.0f) return SFX_VOLLEY;
    if (s.frame == 0.0f) return SFX_TWOWAYS;
    return SFX_HERO_SHOT;
}

void NoteWorld() {
    for (int i = 0; i < SHOT_POOL_SIZE; i++) {
        const ObjectRecord &s = ShotPool[i];
        shotNotes[i] = ShotNote{s.active, s.face, s.x, s.speed, s.framebeg};
    }
    for (int i = 0; i < EXPLOSION_POOL_SIZE; i++) {
        const ObjectRecord &e = ExplosionPool[i];
        blastNotes[i] = BlastNote{e.active, e.x, e.y, e.frame, e.framespd, e.frameend};
    }
    const int guns = KindLimit(KIND_CELLING), cars = KindLimit(KIND_TRAIN);
    for (int i = 0; i < POOL_SIZE; i++) {
        alarmNotes[i] = i < guns && CeilingPool[i].active && CeilingPool[i].alarm > 0.0f;
        trainActiveNotes[i] = i < cars && TrainPool[i].active;
        trainXNotes[i] = TrainPool[i].x;
    }
    mapNote = mapIndex;
    jumpingNote = HeroState.jumping;
}

}  // namespace

void RememberWorld() { NoteWorld(); }

void ListenToStep(StepSounds *out) {
    std::memset(out, 0, sizeof *out);
    const ObjectRecord &hero = HeroState;
    // A new screen: the pools were emptied and the objects are the new map's, so only what
    // appeared since then is heard.
    const bool newScreen = mapIndex != mapNote;
    if (newScreen) Hear(out, SFX_EXIT, 128.0f);

    for (int i = 0; i < SHOT_POOL_SIZE; i++) {
        const ObjectRecord &s = ShotPool[i];
        if (s.active != 1) continue;
        const ShotNote &n = shotNotes[i];
        const bool same = !newScreen && n.active == 1 && n.face == s.face && Same(n.framebeg, s.framebeg) &&
                          Same(n.face ? n.x + n.speed : n.x - n.speed, s.x);
        if (!same) Hear(out, ShotSound(s), s.x);
    }
    for (int i = 0; i < EXPLOSION_POOL_SIZE; i++) {
        const ObjectRecord &e = ExplosionPool[i];
        if (e.active != 1) continue;
        const BlastNote &n = blastNotes[i];
        const bool same = !newScreen && n.active == 1 && Same(n.x, e.x) && Same(n.y, e.y) &&
                          Same(n.frameend, e.frameend) && Same(n.frame + n.framespd, e.frame);
        if (!same) Hear(out, e.frameend > 3.0f ? SFX_EXPLOSION : SFX_SHOT_END, e.x);
    }

    if (!jumpingNote && hero.jumping && hero.fallspd >= 0.0f) Hear(out, SFX_JUMP, hero.x);
    if (jumpingNote && !hero.jumping) Hear(out, SFX_LAND, hero.x);

    if (!newScreen) {
        const int guns = KindLimit(KIND_CELLING), cars = KindLimit(KIND_TRAIN);
        for (int i = 0; i < guns; i++) {
            const ObjectRecord &g = CeilingPool[i];
            if (g.active && g.alarm > 0.0f && !alarmNotes[i]) Hear(out, SFX_ALARM, g.x);
        }
        int moving = 0;
        for (int i = 0; i < cars; i++) {
            const ObjectRecord &t = TrainPool[i];
            if (!t.active || !trainActiveNotes[i] || Same(t.x, trainXNotes[i])) continue;
            moving++;
            out->trainX += t.x;
        }
        out->trainMoving = moving > 0;
        if (moving) out->trainX /= (float)moving;
    }
    for (int id = 0; id < SFX_COUNT; id++)
        if (out->count[id] > 1) out->x[id] /= (float)out->count[id];
    NoteWorld();
}
