// The particle step that the fire and the snow share, included by fire.comp
// and snow.comp after their #version line. Each of them defines
//   bool carryForward(uint index, out vec4 position, out vec4 velocity)
//     the last step's particle `index` one step on, false when it has died;
//   void spawn(uint spawnIndex, uint stepSeed, out vec4 position, out vec4 velocity)
//     new particle number `spawnIndex` of this step.
//
// Each invocation carries at most one of the last step's particles forward,
// then makes its share of the new ones. The survivors and the new particles
// are written without gaps: a work group first counts its own in shared
// memory, then takes that many slots from the counter at once, so the counter
// ends at the number of particles and is touched once per group rather than
// once per particle.
//
// A particle is a position and a velocity. The velocity's w is the age in
// seconds; the position's w is all the draw program sees of a particle besides
// where it is: sprite size, atlas cell and brightness packed into one float.

#extension GL_ARB_shader_atomic_counter_ops : require

layout(local_size_x = 256) in;

layout(std430, binding = 0) readonly buffer LastPositions { vec4 lastPositions[]; };
layout(std430, binding = 1) writeonly buffer NextPositions { vec4 nextPositions[]; };
layout(std430, binding = 2) readonly buffer LastVelocities { vec4 lastVelocities[]; };
layout(std430, binding = 3) writeonly buffer NextVelocities { vec4 nextVelocities[]; };
layout(binding = 4, offset = 0) uniform atomic_uint liveCount;

uniform int LastCount;
uniform int MaximumCount;
uniform float DeltaT;
uniform int SpawnCount;
uniform int MaxAge;
uniform int ParticleSpread;

// The atlas: 8 x 8 cells.
const int atlasRows = 8;
const int atlasCells = atlasRows * atlasRows;

// Appearance packing, shared with gpuparticle.geom: the whole part is
// sizeStep * atlasCells + cell, the fraction is the brightness.
const float sizeUnit = 1.0 / 64.0;  // world units per size step
const int largestSizeStep = 255;
const float brightest = 0.99;       // a fraction of 1 would carry into the cell

const float twoPi = 6.2831853;

// Velocities are drawn as whole numbers of this step, which every driver
// stores exactly: a particle's velocity is the same everywhere, and so is
// the identity read back from it.
const float velocityStep = 1.0 / 1024.0;  // world units per second

uint hash(uint x) {
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

// The top 24 bits of a hash as a number in [0, 1): exact on every driver.
float unitInterval(uint hashed) {
    return float(hashed >> 8) * (1.0 / 16777216.0);
}

// Uniform in [0, 1), advancing the state.
float random(inout uint state) {
    state = hash(state);
    return unitInterval(state);
}

// A whole number of velocity steps, at least the one nearest `low` and at
// most the one nearest `high`, advancing the state.
int randomSteps(inout uint state, float low, float high) {
    int first = int(round(low / velocityStep));
    int count = int(round(high / velocityStep)) - first + 1;
    state = hash(state);
    return first + int(state % uint(count));
}

float packAppearance(int sizeStep, int cell, float brightness) {
    return float(sizeStep * atlasCells + cell) + clamp(brightness, 0.0, brightest);
}

int sizeStepOf(float appearance) {
    return int(appearance) / atlasCells;
}

int cellOf(float appearance) {
    return int(appearance) % atlasCells;
}

// A number of its own for every particle, fixed for its life: read back, as
// integers, from the whole velocity steps it was born with. Drivers may round
// float arithmetic differently, but not the integers.
float identity(vec3 velocity) {
    uvec3 steps = uvec3(ivec3(round(velocity / velocityStep)));
    return unitInterval(hash(steps.x ^ hash(steps.y ^ hash(steps.z))));
}

// The velocity arrays hold one entry past the last particle's room, whose x
// counts the steps. Particles reach their slots in no fixed order, so only
// this number tells the steps apart the same way in every run: it seeds the
// new particles of each step.
uint stepNumber() {
    vec4 counter = lastVelocities[MaximumCount];
    return uint(counter.x) | (uint(counter.y) << 16);
}

// Kept in two 16-bit halves, each exact as a float.
void countStep() {
    uint next = stepNumber() + 1u;
    nextVelocities[MaximumCount] = vec4(float(next & 0xFFFFu), float(next >> 16), 0.0, 0.0);
}

bool carryForward(uint index, out vec4 position, out vec4 velocity);
void spawn(uint spawnIndex, uint stepSeed, out vec4 position, out vec4 velocity);

void write(uint slot, vec4 position, vec4 velocity) {
    // Only a counter left over from a step whose count was never read can run
    // past the arrays.
    if (slot < uint(MaximumCount)) {
        nextPositions[slot] = position;
        nextVelocities[slot] = velocity;
    }
}

shared uint groupParticles;  // this group's survivors and new particles
shared uint groupFirstSlot;  // where they start in the output

void main() {
    uint id = gl_GlobalInvocationID.x;
    uint invocations = gl_NumWorkGroups.x * gl_WorkGroupSize.x;
    // Survivors never outnumber the last count, so capping the spawns by the
    // room it leaves keeps the counter within MaximumCount.
    uint lastCount = uint(min(LastCount, MaximumCount));
    uint spawnLimit = min(uint(SpawnCount), uint(MaximumCount) - lastCount);
    uint stepSeed = hash(stepNumber());
    if (id == 0u) countStep();

    vec4 position;
    vec4 velocity;
    bool carried = id < lastCount && carryForward(id, position, velocity);
    uint spawns = id < spawnLimit ? (spawnLimit - 1u - id) / invocations + 1u : 0u;

    if (gl_LocalInvocationIndex == 0u) groupParticles = 0u;
    memoryBarrierShared();
    barrier();
    uint slot = atomicAdd(groupParticles, uint(carried) + spawns);
    memoryBarrierShared();
    barrier();
    if (gl_LocalInvocationIndex == 0u && groupParticles > 0u) {
        groupFirstSlot = atomicCounterAddARB(liveCount, groupParticles);
    }
    memoryBarrierShared();
    barrier();

    slot += groupFirstSlot;
    if (carried) write(slot++, position, velocity);
    for (uint s = id; s < spawnLimit; s += invocations) {
        spawn(s, stepSeed, position, velocity);
        write(slot++, position, velocity);
    }
}
