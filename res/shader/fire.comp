#version 430 core

// The campfire's flames: the shared particle step with the fire's own birth
// and life. Flames rise slowly from the fire bed, flutter, and age along the
// atlas from a bright tongue to dim wisps.

#include "particleStep.glsl"

// "ParticleSpread" is the side of the square the flames rise from.

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

// The atlas's cells run row by row from the top left. Each row is a later
// stage of a flame's life, its columns successive moments of that stage.

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

void carryForward(uint index, out vec4 position, out vec4 velocity) {
    position = lastPosition(index);
    velocity = lastVelocity(index);
    float age = ageAfterStep(velocity);
    float flameIdentity = identity(velocity.xyz);
    position.xyz += (velocity.xyz + flutter(age, flameIdentity)) * DeltaT;
    position.w = packAppearance(sizeStepOf(position.w), cellAt(age, flameIdentity), brightnessAt(age));
    velocity.w = age;
}

void spawn(uint spawnIndex, uint stepSeed, out vec4 position, out vec4 velocity) {
    uint state = hash(stepSeed ^ hash(spawnIndex));
    float size = mix(flameSizeMin, flameSizeMax, random(state));
    vec2 offset = (vec2(random(state), random(state)) - 0.5) * float(ParticleSpread);
    ivec3 steps = ivec3(randomSteps(state, -driftSpeed, driftSpeed), randomSteps(state, riseSpeedMin, riseSpeedMax),
                        randomSteps(state, -driftSpeed, driftSpeed));
    velocity = vec4(vec3(steps) * velocityStep, 0.0);
    int sizeStep = min(int(size / sizeUnit), largestSizeStep);
    float appearance = packAppearance(sizeStep, cellAt(0.0, identity(velocity.xyz)), brightnessAt(0.0));
    position = vec4(campfire + vec3(offset.x, size * flameFoot, offset.y), appearance);
}
