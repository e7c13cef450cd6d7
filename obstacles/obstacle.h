#pragma once
// The things that drift down the river: their kinds' rules and the record of each one.
#include <cstdint>

enum {
    KIND_ROCK = 0,
    KIND_LOG = 1,
    KIND_BURGER = 2,
    KIND_BRIDGE = 3,
};

// What the rules know of a kind: its size (the bridge as high as its art), which rider levels
// it meets, what it costs, its own speed down the river and its sound.
struct ObstacleRules {
    int32_t width;
    int32_t height;
    int32_t layerMask;
    int32_t damage;
    float ownSpeed;
    int32_t sound;
};

// In kind order: rock, log, burger, bridge. Read by the rules; only the bridge's height
// changes, with the art, before any game.
extern ObstacleRules obstacleRules[4];
constexpr int defaultBridgeHeight = 60;
void setBridgeHeight(int height);

// One obstacle in a world's lane: plain values, its looks found by the drawing from `kind`.
struct ObstacleState {
    float y = 0.0f;
    float ownSpeed = 0.0f;
    int32_t phase = 0;
    int32_t damage = 0;
    uint8_t hitRider[2] = {0, 0};
    int32_t sound = 0;
    int32_t height = 0;
    float x = 0.0f;
    int32_t width = 0;
    int32_t layerMask = 0;
    uint8_t kind = 0;
};

// A new obstacle of `kind` just above the screen, at the left border until it is placed.
ObstacleState freshObstacle(int kind, int32_t phase);
