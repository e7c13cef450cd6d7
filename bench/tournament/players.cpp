#include "players.h"

#include "classic/classic.h"
#include "computer/computer.h"

std::unique_ptr<Player> makeScripted(const std::string& name, int index, uint32_t seed);

namespace {

class Computer : public Player {
public:
    Computer(int index, int level, uint32_t seed) : rider(index, level, seed) {}
    RiderInput decide(const World& world) override { return rider.decide(world); }

private:
    ComputerRider rider;
};

class Classic : public Player {
public:
    explicit Classic(int index) : rider(index) {}
    RiderInput decide(const World& world) override { return rider.decide(world); }

private:
    ClassicRider rider;
};

}  // namespace

std::unique_ptr<Player> makePlayer(const std::string& name, int index, uint32_t seed)
{
    if (name.size() == 6 && name.compare(0, 5, "level") == 0 && name[5] >= '1' && name[5] <= '5')
        return std::unique_ptr<Player>(new Computer(index, name[5] - '0', seed));
    if (name == "classic")
        return std::unique_ptr<Player>(new Classic(index));
    return makeScripted(name, index, seed);
}
