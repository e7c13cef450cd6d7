#pragma once
// The computer rider as it played before it had levels, kept here so that the tournament can
// measure the levels against it. Bench code only: the game never uses it.
#include <memory>

#include "input/input.h"

struct World;

class ClassicRider {
public:
    explicit ClassicRider(int index);
    ~ClassicRider();
    ClassicRider(const ClassicRider&) = delete;
    ClassicRider& operator=(const ClassicRider&) = delete;
    RiderInput decide(const World& world);

private:
    struct Mind;
    std::unique_ptr<Mind> mind;
};
