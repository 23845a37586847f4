#version 430 core

// Models under the night sky: a cold moon and sky light, the two warm street
// lights with their attenuation, specular highlights from the specular map,
// surface detail from the normal map, and fog with distance. Texels whose
// diffuse alpha is below one glow with their own colour (lamp glass, lit
// windows); on transparent models, fully clear texels are cut away.

#include "displayEncoding.glsl"

const int lightCount = 2;

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 passTextureCoords;
in vec3 eyePosition;
flat in vec3 linearLightColor[lightCount];

uniform sampler2D textureDiffuse;
uniform sampler2D textureSpecular;
uniform sampler2D textureNormal;
uniform float shininess;
uniform float shininessStrength;
uniform int transparency;
uniform vec3 lightPosition[lightCount];
uniform vec3 attenuation[lightCount];  // constant, linear, quadratic

layout(location = 0) out vec4 outColor;
layout(location = 2) out vec4 outHighlight;

const vec3 moonDirection = normalize(vec3(-450.0, 362.0, -345.0));
const vec3 moonLight = vec3(0.07, 0.09, 0.15);
const vec3 skyLight = vec3(0.020, 0.027, 0.045);
const float lampIntensity = 1.5;
const float lampReach = 40.0;  // a street light adds nothing beyond this distance
const vec3 nightFog = vec3(0.006, 0.008, 0.016);
const float fogDensity = 0.005;
const float cutOutAlpha = 0.05;
const float glowStrength = 2.5;
const float exponentPerShininess = 6.0;  // 0.1 gives a broad sheen, 10 a tight glint
const float minimumExponent = 4.0;

// Tangent frame from screen-space derivatives: the meshes carry no tangents.
vec3 perturbedNormal(vec3 normal) {
    vec3 dp1 = dFdx(worldPosition);
    vec3 dp2 = dFdy(worldPosition);
    vec2 duv1 = dFdx(passTextureCoords);
    vec2 duv2 = dFdy(passTextureCoords);
    vec3 dp2perp = cross(dp2, normal);
    vec3 dp1perp = cross(normal, dp1);
    vec3 tangent = dp2perp * duv1.x + dp1perp * duv2.x;
    vec3 bitangent = dp2perp * duv1.y + dp1perp * duv2.y;
    float scale = inversesqrt(max(dot(tangent, tangent), dot(bitangent, bitangent)));
    if (isinf(scale) || isnan(scale)) return normal;
    vec3 mapped = texture(textureNormal, passTextureCoords).xyz * 2.0 - 1.0;
    // The texture coordinates were flipped vertically on import.
    mat3 frame = mat3(tangent * scale, -bitangent * scale, normal);
    return normalize(frame * mapped);
}

// The attenuation brought smoothly to zero at the lamp's reach, so each lamp
// lights its surroundings rather than tinting the whole valley.
float pointAttenuation(int i, float distance, float distanceSquared) {
    vec3 k = attenuation[i];
    float x2 = distanceSquared * (1.0 / (lampReach * lampReach));
    float window = clamp(1.0 - x2 * x2, 0.0, 1.0);
    return window * window / (k.x + k.y * distance + k.z * distanceSquared);
}

void main() {
    vec4 diffuseTexel = texture(textureDiffuse, passTextureCoords);
    if (transparency == 1 && diffuseTexel.a < cutOutAlpha) discard;

    vec3 normal = normalize(worldNormal);
    if (!gl_FrontFacing) normal = -normal;  // two-sided transparent models
    normal = perturbedNormal(normal);

    vec3 albedo = toLinear(diffuseTexel.rgb);
    float specularMask = texture(textureSpecular, passTextureCoords).r * shininessStrength;
    float exponent = max(minimumExponent, shininess * exponentPerShininess);
    vec3 toEye = normalize(eyePosition - worldPosition);

    // Surfaces without shine (a black specular map) spare the highlights.
    bool shiny = specularMask > 0.0;
    vec3 diffuse = skyLight * (0.6 + 0.4 * normal.y) + moonLight * max(dot(normal, moonDirection), 0.0);
    vec3 specular = vec3(0.0);
    if (shiny) specular = moonLight * pow(max(dot(normal, normalize(moonDirection + toEye)), 0.0), exponent);
    for (int i = 0; i < lightCount; ++i) {
        vec3 toLight = lightPosition[i] - worldPosition;
        float distanceSquared = dot(toLight, toLight);
        // Beyond its reach a lamp adds nothing: spare the rest.
        if (distanceSquared >= lampReach * lampReach) continue;
        float inverseDistance = inversesqrt(distanceSquared);
        float distance = distanceSquared * inverseDistance;
        vec3 direction = toLight * inverseDistance;
        vec3 radiance = linearLightColor[i] * lampIntensity * pointAttenuation(i, distance, distanceSquared);
        diffuse += radiance * max(dot(normal, direction), 0.0);
        if (shiny) specular += radiance * pow(max(dot(normal, normalize(direction + toEye)), 0.0), exponent);
    }

    float glow = 1.0 - diffuseTexel.a;
    vec3 colour = albedo * diffuse + specular * specularMask + albedo * glow * glowStrength;
    float fog = 1.0 - exp(-fogDensity * length(eyePosition - worldPosition));
    colour = mix(colour, nightFog, fog);
    outColor = vec4(toDisplay(colour), 1.0);
    outHighlight = vec4(0.0, 0.0, 0.0, 1.0);
}
