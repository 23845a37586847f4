#version 430 core

// The god rays, drawn in the polar image of the highlights (distance from the
// light up the height): every texel gathers the "radius" texels below it, on
// its ray between it and the light, the nearest weighing most. Turned back,
// bright sky streams outward between whatever stands in front of it.
// "alpha" is 1 with the light in the middle of the screen and falls as it
// leaves; at 0 and below there are no rays, and rays never take light away.

in vec2 textureCoords;

uniform sampler2D image;
uniform float radius;        // texels
uniform float alpha;
uniform float targetHeight;  // texels up the image

out vec4 colour;

// How much the weight falls over the whole reach towards the light.
const float farthestWeight = 0.25;
// The rays are faint and smooth: stored in 8 bits they would show rings, so
// each texel is nudged by up to half a step of its own before it is stored.
const float storageStep = 1.0 / 255.0;

// Interleaved gradient noise: an even spread of offsets in -0.5 ... 0.5 that
// no eye picks out as a pattern.
const vec2 noisePerPixel = vec2(0.06711056, 0.00583715);
const float noiseScale = 52.9829189;

float ditherAt(vec2 pixel) {
    return fract(noiseScale * fract(dot(pixel, noisePerPixel))) - 0.5;
}

void main() {
    float texel = 1.0 / targetHeight;
    float lowest = 0.5 * texel;
    int taps = int(radius);
    // The weights fall linearly from 1 at the nearest tap towards
    // farthestWeight at the full reach.
    float fall = (farthestWeight - 1.0) / radius;
    vec3 sum = vec3(0.0);
    float weights = 0.0;
    // Four neighbouring texels at a time: one linear fetch between the middle
    // two stands for all four, weighted as the four together.
    for (int i = 0; i < taps; i += 4) {
        float group = 4.0 + (4.0 * float(i) + 6.0) * fall;
        float y = max(textureCoords.y - (float(i) + 1.5) * texel, lowest);
        sum += group * textureLod(image, vec2(textureCoords.x, y), 0.0).rgb;
        weights += group;
    }
    float strength = max(alpha, 0.0);
    vec3 rays = sum / weights * strength;
    colour = vec4(rays + ditherAt(gl_FragCoord.xy) * storageStep, 1.0);
}
