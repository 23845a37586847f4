#version 430 core

// Moonlit snow: a cold blue moon and sky light everywhere, warm pools under the
// two street lights, fading into the night with distance. Lighting is done in
// linear light and encoded for the display at the end.

#include "displayEncoding.glsl"

const int lightCount = 2;

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 textureCoords;
in float fog;
flat in vec3 linearLightColor[lightCount];

// Linear reflectance rather than display values: lit snow is bright enough
// that 8 bits of linear light lose nothing, and every fragment is spared
// three powers.
uniform sampler2D snowTexture;  // unit 0
uniform vec3 lightPosition[lightCount];
uniform vec3 lightAttenuation[lightCount];  // constant, linear, quadratic

layout(location = 0) out vec4 outColor;
layout(location = 2) out vec4 outHighlight;

const vec3 moonDirection = normalize(vec3(-450.0, 362.0, -345.0));
const vec3 moonLight = vec3(0.07, 0.09, 0.15);
const vec3 skyLight = vec3(0.020, 0.027, 0.045);
const float lampIntensity = 1.5;
const float lampReach = 40.0;  // a street light adds nothing beyond this distance
const vec3 nightFog = vec3(0.006, 0.008, 0.016);
const float snowAlbedo = 0.9;

// Brings the attenuation smoothly to zero at the lamp's reach, so each lamp
// lights a pool of snow rather than tinting the whole valley.
float reachWindow(float distanceSquared) {
    float x2 = distanceSquared / (lampReach * lampReach);
    float window = clamp(1.0 - x2 * x2, 0.0, 1.0);
    return window * window;
}

vec3 pointLight(int i, vec3 normal) {
    vec3 toLight = lightPosition[i] - worldPosition;
    float distanceSquared = dot(toLight, toLight);
    // Most of the ground lies out of reach: spare it the rest.
    if (distanceSquared >= lampReach * lampReach) return vec3(0.0);
    float inverseDistance = inversesqrt(distanceSquared);
    float distance = distanceSquared * inverseDistance;
    vec3 k = lightAttenuation[i];
    // The diffuse term's 1 / distance and the attenuation share one division.
    float falloff = reachWindow(distanceSquared) * inverseDistance / (k.x + k.y * distance + k.z * distanceSquared);
    return linearLightColor[i] * (lampIntensity * max(dot(normal, toLight), 0.0) * falloff);
}

void main() {
    // The water's reflection looks at the ground from below, yet must show it
    // lit as seen from above: the normal is never flipped toward the eye.
    vec3 normal = normalize(worldNormal);
    vec3 albedo = texture(snowTexture, textureCoords).rgb * snowAlbedo;

    vec3 light = skyLight * (0.6 + 0.4 * normal.y) + moonLight * max(dot(normal, moonDirection), 0.0);
    for (int i = 0; i < lightCount; ++i) light += pointLight(i, normal);

    vec3 colour = mix(albedo * light, nightFog, fog);
    outColor = vec4(toDisplay(colour), 1.0);
    outHighlight = vec4(0.0, 0.0, 0.0, 1.0);
}
