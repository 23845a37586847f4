#version 430 core

#include "displayEncoding.glsl"

const int lightCount = 2;

in vec3 position;
in vec3 normals;

uniform mat4 modelMatrix;
uniform mat4 viewMatrix;
uniform mat4 projectionMatrix;
uniform vec4 clipPlane;       // (0, 0, 0, 0) keeps everything
uniform float textureTiling;  // snow texture repeats per tileSize world units
uniform vec3 lightColor[lightCount];  // display values

const float tileSize = 40.0;
const float fogDensity = 0.005;

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 textureCoords;
out float fog;  // how far the night's haze has swallowed the ground
// Lighting needs the lights' colours linear. Decoding them here, once a
// corner rather than once a fragment, spares every fragment six powers.
flat out vec3 linearLightColor[lightCount];

void main() {
    vec4 world = modelMatrix * vec4(position, 1.0);
    vec4 eye = viewMatrix * world;
    gl_ClipDistance[0] = dot(world, clipPlane);
    worldPosition = world.xyz;
    worldNormal = mat3(modelMatrix) * normals;
    textureCoords = world.xz * (textureTiling / tileSize);
    // Fog changes little across a triangle: worked out at its corners.
    fog = 1.0 - exp(-fogDensity * length(eye.xyz));
    for (int i = 0; i < lightCount; ++i) linearLightColor[i] = toLinear(lightColor[i]);
    gl_Position = projectionMatrix * eye;
}
