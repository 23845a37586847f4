#version 430 core

// The campfire's flames. Each invocation carries at most one of the last
// step's flames forward, then lights its share of the new ones. Every flame
// that lives on is written at the slot that one atomic increment hands out, so
// the output has no gaps and the counter ends at the number of flames.
//
// A particle is a position and a velocity. The velocity's w is the age in
// seconds; the position's w is all the draw program sees of a flame besides
// where it is: sprite size, atlas cell and brightness packed into one float.

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
uniform int ParticleSpread;  // side of the square the flames rise from

// Where the scene stands the campfire model: its centre on the ground.
const vec3 campfire = vec3(81.0, 20.957, -2.0);

const float flameSizeMin = 1.6;  // world units
const float flameSizeMax = 2.4;
// From a sprite's centre down to the foot of the young flame in its atlas
// cell, in sprite sizes: the flame is born standing on the fire bed.
const float flameFoot = 0.42;
const float riseSpeedMin = 0.12;  // world units per second
const float riseSpeedMax = 0.22;
const float driftSpeed = 0.04;
const float flutterSpeed = 0.08;
const float flutterRate = 2.3;     // radians per second
const float flickerRate = 9.0;     // atlas frames per second along a row
const float fadeInTime = 0.6;      // seconds
const float fadeOutTime = 3.0;

// The atlas: 8 x 8 cells, row by row from the top left. Each row is a later
// stage of a flame's life, its columns successive moments of that stage.
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

// A number of its own for every flame, fixed for its life: read back, as
// integers, from the whole velocity steps it was born with. Drivers may round
// float arithmetic differently, but not the integers.
float identity(vec3 velocity) {
    uvec3 steps = uvec3(ivec3(round(velocity / velocityStep)));
    return unitInterval(hash(steps.x ^ hash(steps.y ^ hash(steps.z))));
}

float brightnessAt(float age) {
    float maxAge = float(MaxAge);
    return smoothstep(0.0, fadeInTime, age) * (1.0 - smoothstep(maxAge - fadeOutTime, maxAge, age));
}

// The row follows the flame's life from a bright tongue to dim wisps; along
// the row it flickers from moment to moment.
int cellAt(float age, float flameIdentity) {
    int row = min(int(age / float(MaxAge) * float(atlasRows)), atlasRows - 1);
    int column = int(age * flickerRate + flameIdentity * float(atlasRows)) % atlasRows;
    return row * atlasRows + column;
}

vec3 flutter(float age, float flameIdentity) {
    float phase = age * flutterRate + flameIdentity * twoPi;
    return flutterSpeed * vec3(sin(phase), 0.0, cos(1.3 * phase));
}

void write(vec4 position, vec4 velocity) {
    uint slot = atomicCounterIncrement(liveCount);
    // Only a counter left over from a step whose count was never read can run
    // past the arrays.
    if (slot < uint(MaximumCount)) {
        nextPositions[slot] = position;
        nextVelocities[slot] = velocity;
    }
}

void carryForward(uint index) {
    vec4 position = lastPositions[index];
    vec4 velocity = lastVelocities[index];
    float age = velocity.w + DeltaT;
    if (age > float(MaxAge)) return;
    float flameIdentity = identity(velocity.xyz);
    position.xyz += (velocity.xyz + flutter(age, flameIdentity)) * DeltaT;
    position.w = packAppearance(sizeStepOf(position.w), cellAt(age, flameIdentity), brightnessAt(age));
    velocity.w = age;
    write(position, velocity);
}

void spawn(uint spawnIndex, uint stepSeed) {
    uint state = hash(stepSeed ^ hash(spawnIndex));
    float size = mix(flameSizeMin, flameSizeMax, random(state));
    vec2 offset = (vec2(random(state), random(state)) - 0.5) * float(ParticleSpread);
    vec3 position = campfire + vec3(offset.x, size * flameFoot, offset.y);
    ivec3 steps = ivec3(randomSteps(state, -driftSpeed, driftSpeed), randomSteps(state, riseSpeedMin, riseSpeedMax),
                        randomSteps(state, -driftSpeed, driftSpeed));
    vec3 velocity = vec3(steps) * velocityStep;
    int sizeStep = min(int(size / sizeUnit), largestSizeStep);
    float appearance = packAppearance(sizeStep, cellAt(0.0, identity(velocity)), brightnessAt(0.0));
    write(vec4(position, appearance), vec4(velocity, 0.0));
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

void main() {
    uint id = gl_GlobalInvocationID.x;
    uint invocations = gl_NumWorkGroups.x * gl_WorkGroupSize.x;
    // Survivors never outnumber the last count, so capping the spawns by the
    // room it leaves keeps the counter within MaximumCount.
    uint lastCount = uint(min(LastCount, MaximumCount));
    uint spawnLimit = min(uint(SpawnCount), uint(MaximumCount) - lastCount);

    if (id == 0u) countStep();
    if (id < lastCount) carryForward(id);
    uint stepSeed = hash(stepNumber());
    for (uint s = id; s < spawnLimit; s += invocations) spawn(s, stepSeed);
}
