// The particle step that the fire and the snow share, included by fire.comp
// and snow.comp after their #version line. Each of them defines
//   void carryForward(uint index, out vec4 position, out vec4 velocity)
//     the last step's particle `index` one step on;
//   void spawn(uint spawnIndex, uint stepSeed, out vec4 position, out vec4 velocity)
//     new particle number `spawnIndex` of this step.
//
// The arrays are kept oldest first. Every particle ages by the same frame time
// each step and the new ones are written after the survivors, so ages never
// increase along the arrays and the particles that die in a step are a run at
// the front. One binary search per work group finds how long that run is;
// then each survivor moves down by that many slots and the new particles
// follow the survivors. Every slot is known without counting, the output has
// no gaps, and the counter is touched once per step.
//
// The last step's arrays are read through texel views of their buffers, and
// each invocation stores from one place only. Software rasterisers run a
// shader's lanes side by side, read a storage buffer one lane at a time and
// run both sides of every branch: a texel fetch reads all lanes at once, and
// one store site stores once.
//
// A particle is a position and a velocity. The velocity's w is the age in
// seconds; the position's w is all the draw program sees of a particle besides
// where it is: sprite size, atlas cell and brightness packed into one float.

#extension GL_ARB_shader_atomic_counter_ops : require

layout(local_size_x = 256) in;

// The last step's positions and velocities: the buffers bound as storage at
// 0 and 2, seen as RGBA32F texels.
layout(binding = 0) uniform samplerBuffer lastPositionTexels;
layout(binding = 1) uniform samplerBuffer lastVelocityTexels;
layout(std430, binding = 1) writeonly buffer NextPositions { vec4 nextPositions[]; };
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

vec4 lastPosition(uint index) {
    return texelFetch(lastPositionTexels, int(index));
}

vec4 lastVelocity(uint index) {
    return texelFetch(lastVelocityTexels, int(index));
}

// The velocity arrays hold one entry past the last particle's room, whose x
// counts the steps: it seeds the new particles of each step, so a step makes
// the same particles in every run whatever the count and frame times before it.
uint stepNumber() {
    vec4 counter = lastVelocity(uint(MaximumCount));
    return uint(counter.x) | (uint(counter.y) << 16);
}

// Kept in two 16-bit halves, each exact as a float.
void countStep() {
    uint next = stepNumber() + 1u;
    nextVelocities[MaximumCount] = vec4(float(next & 0xFFFFu), float(next >> 16), 0.0, 0.0);
}

void carryForward(uint index, out vec4 position, out vec4 velocity);
void spawn(uint spawnIndex, uint stepSeed, out vec4 position, out vec4 velocity);

float ageAfterStep(vec4 velocity) {
    return velocity.w + DeltaT;
}

bool diesThisStep(uint index) {
    return ageAfterStep(lastVelocity(index)) > float(MaxAge);
}

// How many of the last step's particles, from the front, die in this one.
// Were the arrays ever out of age order (entries left by a count that was
// never read), this is still a run at the front: the slots stay gap-free, and
// an over-age particle left behind is drawn at no brightness until it, too,
// reaches the front.
uint countDying(uint lastCount) {
    uint low = 0u;
    uint high = lastCount;
    while (low < high) {
        uint middle = (low + high) / 2u;
        if (diesThisStep(middle)) low = middle + 1u;
        else high = middle;
    }
    return low;
}

void write(uint slot, vec4 position, vec4 velocity) {
    nextPositions[slot] = position;
    nextVelocities[slot] = velocity;
}

// Slot `slot` of the output: survivor `slot` or, past the survivors, a new
// particle. Both are worked out and one is kept (a slot that is born reads
// particle 0 and drops it).
void fill(uint slot, uint dying, uint survivors, uint stepSeed) {
    bool survives = slot < survivors;
    vec4 carriedPosition;
    vec4 carriedVelocity;
    vec4 bornPosition;
    vec4 bornVelocity;
    carryForward(survives ? slot + dying : 0u, carriedPosition, carriedVelocity);
    spawn(slot - survivors, stepSeed, bornPosition, bornVelocity);
    write(slot, survives ? carriedPosition : bornPosition, survives ? carriedVelocity : bornVelocity);
}

shared uint groupDying;  // the same in every group: one invocation finds it

void main() {
    uint id = gl_GlobalInvocationID.x;
    uint invocations = gl_NumWorkGroups.x * gl_WorkGroupSize.x;
    // Survivors never outnumber the last count, so capping the spawns by the
    // room it leaves keeps every slot, and the count, within MaximumCount.
    uint lastCount = uint(min(LastCount, MaximumCount));
    uint spawnLimit = min(uint(SpawnCount), uint(MaximumCount) - lastCount);
    uint stepSeed = hash(stepNumber());

    if (gl_LocalInvocationIndex == 0u) groupDying = countDying(lastCount);
    memoryBarrierShared();
    barrier();
    uint dying = groupDying;
    uint survivors = lastCount - dying;
    uint filled = survivors + spawnLimit;
    if (id == 0u) {
        countStep();
        atomicCounterAddARB(liveCount, filled);
    }
    // More new particles than invocations (a long frame) take further rounds.
    // Tested at the bottom: with the test at the top, llvmpipe's step took
    // half as long again.
    uint slot = id;
    do {
        if (slot < filled) fill(slot, dying, survivors, stepSeed);
        slot += invocations;
    } while (slot < filled);
}
