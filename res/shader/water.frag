#version 430 core

// Night water. The reflection and refraction images, rendered this frame from
// the mirrored and the real camera, are looked up where this fragment lands
// on the screen and shifted by a scrolling distortion. A Fresnel term shows
// the lake bed when looking down and the mirrored sky and shore at grazing
// angles. The lamps and the moon add glints; the water thins out where the
// refraction depth says the bed is close, so the shore has no hard edge.

#include "displayEncoding.glsl"

const int lightCount = 2;

in vec4 clipSpace;
in vec2 waveCoords;
in vec3 worldPosition;
in vec3 toCamera;

uniform sampler2D reflectionTexture;  // unit 0
uniform sampler2D refractionTexture;  // unit 1
uniform sampler2D dudvMap;            // unit 2
uniform sampler2D normalMap;          // unit 3
uniform sampler2D depthMap;           // unit 4: the refraction pass's depth
uniform float moveFactor;             // scroll phase in [0, 1)
uniform vec3 lightPosition[lightCount];
uniform vec3 lightColour[lightCount];

layout(location = 0) out vec4 outColor;
layout(location = 2) out vec4 outHighlight;

const float nearPlane = 0.1;
const float farPlane = 1000.0;

const float waveStrength = 0.018;      // largest shift of the image lookups
const float calmDepth = 2.5;           // distortion fades out in shallower water
const float edgeMargin = 0.001;       // the shifted lookups keep this far inside the images
const float shoreSoftness = 1.2;       // depth over which the water fades in at the shore
const float normalUpness = 2.6;        // flattens the normal map's tilt
const float fresnelPower = 1.4;        // higher shows more reflection
const float reflectionStrength = 0.9;  // a dark lake never mirrors perfectly

const vec3 deepWater = vec3(0.004, 0.010, 0.018);  // linear colour of the unlit depths
const float murkDepth = 12.0;                      // the bed disappears at about this depth
const float overheadGlint = 0.3;                   // share of the glints left looking straight down

const vec3 moonDirection = normalize(vec3(-450.0, 362.0, -345.0));
const vec3 moonGlint = vec3(0.55, 0.62, 0.8);
const float moonShininess = 220.0;
const float lampShininess = 60.0;
const float lampGlint = 2.2;
const float lampReach = 60.0;  // a lamp's glints fade out by this distance

const vec3 nightFog = vec3(0.006, 0.008, 0.016);
const float fogDensity = 0.005;

// Distance from the eye of a depth-buffer value of the shared projection.
float eyeDistance(float depth) {
    float ndc = depth * 2.0 - 1.0;
    return 2.0 * nearPlane * farPlane / (farPlane + nearPlane - ndc * (farPlane - nearPlane));
}

// Two lookups of the distortion map drifting in different directions, so
// the ripples never march in step. Gives a shift in [-1, 1].
vec2 ripple(out vec2 distortedCoords) {
    vec2 drift = texture(dudvMap, vec2(waveCoords.x + moveFactor, waveCoords.y)).rg * 0.1;
    distortedCoords = waveCoords + vec2(drift.x, drift.y + moveFactor);
    vec2 crossing = texture(dudvMap, waveCoords * 0.7 + vec2(-moveFactor, moveFactor * 0.5)).rg;
    return (texture(dudvMap, distortedCoords).rg * 2.0 - 1.0) * 0.7 + (crossing * 2.0 - 1.0) * 0.3;
}

// The images repeat, so a lookup within half a texel of an edge would blend
// in the opposite edge.
vec2 insideEdges(sampler2D image, vec2 uv) {
    vec2 margin = max(vec2(edgeMargin), 0.5 / vec2(textureSize(image, 0)));
    return clamp(uv, margin, 1.0 - margin);
}

vec3 surfaceNormal(vec2 coords) {
    vec3 n = texture(normalMap, coords).rgb;
    return normalize(vec3(n.r * 2.0 - 1.0, n.b * normalUpness, n.g * 2.0 - 1.0));
}

// Blinn-Phong glints of the two lamps, fading out with distance.
vec3 lampGlints(vec3 normal, vec3 toEye) {
    vec3 glints = vec3(0.0);
    for (int i = 0; i < lightCount; ++i) {
        vec3 toLight = lightPosition[i] - worldPosition;
        float distance = length(toLight);
        if (distance >= lampReach) continue;  // its glints have faded out
        vec3 halfway = normalize(toLight / distance + toEye);
        float reach = clamp(1.0 - distance / lampReach, 0.0, 1.0);
        float shine = pow(max(dot(normal, halfway), 0.0), lampShininess);
        glints += toLinear(lightColour[i]) * lampGlint * shine * reach * reach;
    }
    return glints;
}

vec3 moonPath(vec3 normal, vec3 toEye) {
    vec3 halfway = normalize(moonDirection + toEye);
    return moonGlint * pow(max(dot(normal, halfway), 0.0), moonShininess);
}

void main() {
    vec2 screen = clipSpace.xy / clipSpace.w * 0.5 + 0.5;

    // Where the images are smaller than the screen, the outermost pixels fall
    // outside the images' outermost texel centres.
    float bedDistance = eyeDistance(texture(depthMap, insideEdges(depthMap, screen)).r);
    float surfaceDistance = eyeDistance(gl_FragCoord.z);
    float depth = max(bedDistance - surfaceDistance, 0.0);

    // Shallow water lies still, so the shore's reflection meets it unbroken.
    float waviness = clamp(depth / calmDepth, 0.0, 1.0);
    vec2 distortedCoords;
    vec2 shift = ripple(distortedCoords) * waveStrength * waviness;
    vec2 refractionCoords = insideEdges(refractionTexture, screen + shift);
    // The mirrored camera sees the world upside down.
    vec2 reflectionCoords = insideEdges(reflectionTexture, vec2(screen.x, 1.0 - screen.y) + shift);

    vec3 reflection = toLinear(texture(reflectionTexture, reflectionCoords).rgb) * reflectionStrength;
    vec3 bed = toLinear(texture(refractionTexture, refractionCoords).rgb);
    vec3 refraction = mix(bed, deepWater, clamp(depth / murkDepth, 0.0, 1.0));

    vec3 toEye = normalize(toCamera);
    vec3 normal = surfaceNormal(distortedCoords);
    float facing = clamp(dot(toEye, vec3(0.0, 1.0, 0.0)), 0.0, 1.0);
    float refractive = pow(facing, fresnelPower);

    vec3 colour = mix(reflection, refraction, refractive);
    // Like the reflection, the glints are strongest at grazing angles.
    float glintWeight = mix(1.0, overheadGlint, refractive);
    colour += (lampGlints(normal, toEye) + moonPath(normal, toEye)) * waviness * glintWeight;

    float fog = 1.0 - exp(-fogDensity * length(toCamera));
    colour = mix(colour, nightFog, fog);

    float opacity = clamp(depth / shoreSoftness, 0.0, 1.0);
    outColor = vec4(toDisplay(colour), opacity);
    // The lake hides whatever lies behind it from the god rays.
    outHighlight = vec4(0.0, 0.0, 0.0, opacity);
}
