#version 430 core

// The falling snow, in a box around the camera: the shared particle step with
// the snow's own birth and life. Flakes drift with the wind, rock from side to
// side as they fall and fade in and out at the ends of their lives.

#include "particleStep.glsl"

// "ParticleSpread" is the side of the box around the camera, in world units.
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

void carryForward(uint index, out vec4 position, out vec4 velocity) {
    position = lastPosition(index);
    velocity = lastVelocity(index);
    float age = ageAfterStep(velocity);
    position.xyz += (velocity.xyz + sway(age, identity(velocity.xyz))) * DeltaT;
    position.w = packAppearance(sizeStepOf(position.w), cellOf(position.w), brightnessAt(age));
    velocity.w = age;
}

void spawn(uint spawnIndex, uint stepSeed, out vec4 position, out vec4 velocity) {
    uint state = hash(stepSeed ^ hash(spawnIndex));
    float halfSpread = 0.5 * float(ParticleSpread);
    vec3 offset = vec3(aroundCentre(random(state)) * halfSpread, mix(-boxBelow, boxAbove, random(state)),
                       aroundCentre(random(state)) * halfSpread);
    ivec3 steps = ivec3(randomSteps(state, -windSpeed, windSpeed), -randomSteps(state, fallSpeedMin, fallSpeedMax),
                        randomSteps(state, -windSpeed, windSpeed));
    velocity = vec4(vec3(steps) * velocityStep, 0.0);
    int sizeStep = min(int(flakeSize(random(state)) / sizeUnit), largestSizeStep);
    int cell = int(random(state) * float(atlasCells));
    position = vec4(CameraTranslation + offset, packAppearance(sizeStep, cell, brightnessAt(0.0)));
}
