#pragma once
// The looks a rider or an obstacle carries: a strip of frames, drawn by presentation/.
#include <cstdint>

struct BITMAP;

// A bitmap strip of frames laid left to right, a frame size, a hot spot and a timing.
class Sprite {
public:
    Sprite();
    virtual void draw(BITMAP* dest, int x, int y);
    virtual void drawPhase(BITMAP* dest, int x, int y, uint32_t phase);
    virtual ~Sprite();

    void init(BITMAP* bitmap, int frameWidth, int frameHeight, int hotX, int hotY,
              int frameCount, uint32_t phase, int ticksPerFrame);

    int32_t frameWidth;
    int32_t frameHeight;
    BITMAP* bitmap;
    int32_t frameCount;
    int32_t hotX;
    int32_t hotY;
    uint32_t phase;
    int32_t ticksPerFrame;
};

// The sprite the game draws everywhere: frame picked from the sprites' clock, drawn masked.
class AnimatedSprite : public Sprite {
public:
    void draw(BITMAP* dest, int x, int y) override;
    void drawPhase(BITMAP* dest, int x, int y, uint32_t phase) override;
    ~AnimatedSprite() override;
};

// The clock by which draw and drawPhase pick a sprite's frame when no SpriteTime is set: the
// classic game sets its own game clock here. 0 until set.
extern uint32_t (*spriteClock)();

// While one lives, the sprites drawn in this thread pick their frames at tick `now`.
class SpriteTime {
public:
    explicit SpriteTime(uint32_t now);
    ~SpriteTime();
    SpriteTime(const SpriteTime&) = delete;
    SpriteTime& operator=(const SpriteTime&) = delete;

private:
    bool wasSet_;
    uint32_t was_;
};
