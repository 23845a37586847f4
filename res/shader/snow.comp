#version 430 core

// The falling snow, in a box around the camera. Each invocation carries at
// most one of the last step's flakes forward, then makes its share of the new
// ones. Every flake that lives on is written at the slot that one atomic
// increment hands out, so the output has no gaps and the counter ends at the
// number of flakes.
//
// A particle is a position and a velocity. The velocity's w is the age in
// seconds; the position's w is all the draw program sees of a flake besides
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
uniform int ParticleSpread;  // side of the box around the camera, in world units
uniform vec3 CameraTranslation;

// The box reaches this far below and above the camera: flakes born below it
// still fall past the eye, and the ground usually lies within reach.
const float boxBelow = 10.0;
const float boxAbove = 20.0;
const float centreCrowding = 2.0;  // 1 spreads flakes evenly across the box

const float flakeSizeMin = 0.08;  // world units
const float flakeSizeMax = 0.3;
const float fallSpeedMin = 0.9;   // world units per second
const float fallSpeedMax = 1.8;
const float windSpeed = 0.35;
const float swaySpeed = 0.45;
const float swayRateMin = 0.8;    // radians per second
const float swayRateMax = 1.8;
const float flakeBrightness = 1.0;   // moonlit, not glowing
const float fadeTime = 1.0;          // seconds, in at birth and out at the end

// The atlas: 8 x 8 cells, each a different flake.
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

// A number of its own for every flake, fixed for its life: read back, as
// integers, from the whole velocity steps it was born with. Drivers may round
// float arithmetic differently, but not the integers.
float identity(vec3 velocity) {
    uvec3 steps = uvec3(ivec3(round(velocity / velocityStep)));
    return unitInterval(hash(steps.x ^ hash(steps.y ^ hash(steps.z))));
}

float brightnessAt(float age) {
    float maxAge = float(MaxAge);
    return flakeBrightness * smoothstep(0.0, fadeTime, age) * (1.0 - smoothstep(maxAge - fadeTime, maxAge, age));
}

// A place across the box from -1 to 1, more often near the middle: the camera
// sees the flakes close to it, and it moves less in a flake's life than the
// box is wide.
float aroundCentre(float chance) {
    float u = 2.0 * chance - 1.0;
    return sign(u) * pow(abs(u), centreCrowding);
}

// Small flakes are many, large ones few.
float flakeSize(float chance) {
    return mix(flakeSizeMin, flakeSizeMax, chance * chance);
}

// Flakes rock from side to side as they fall, each at its own pace.
vec3 sway(float age, float flakeIdentity) {
    float rate = mix(swayRateMin, swayRateMax, flakeIdentity);
    float phase = age * rate + flakeIdentity * twoPi;
    return swaySpeed * vec3(cos(phase), 0.0, sin(0.7 * phase));
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
    position.xyz += (velocity.xyz + sway(age, identity(velocity.xyz))) * DeltaT;
    position.w = packAppearance(sizeStepOf(position.w), cellOf(position.w), brightnessAt(age));
    velocity.w = age;
    write(position, velocity);
}

void spawn(uint spawnIndex, uint stepSeed) {
    uint state = hash(stepSeed ^ hash(spawnIndex));
    float halfSpread = 0.5 * float(ParticleSpread);
    vec3 offset = vec3(aroundCentre(random(state)) * halfSpread, mix(-boxBelow, boxAbove, random(state)),
                       aroundCentre(random(state)) * halfSpread);
    ivec3 steps = ivec3(randomSteps(state, -windSpeed, windSpeed), -randomSteps(state, fallSpeedMin, fallSpeedMax),
                        randomSteps(state, -windSpeed, windSpeed));
    vec3 velocity = vec3(steps) * velocityStep;
    int sizeStep = min(int(flakeSize(random(state)) / sizeUnit), largestSizeStep);
    int cell = int(random(state) * float(atlasCells));
    write(vec4(CameraTranslation + offset, packAppearance(sizeStep, cell, brightnessAt(0.0))), vec4(velocity, 0.0));
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
