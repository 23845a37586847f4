#version 430 core

#include "displayEncoding.glsl"

const int lightCount = 2;

in vec3 position;
in vec2 textureCoords;
in vec3 normals;

uniform mat4 transformationMatrix;
uniform mat4 viewMatrix;
uniform mat4 projectionMatrix;
uniform vec4 clipPlane;  // (0, 0, 0, 0) keeps everything
uniform vec3 lightColor[lightCount];  // display values

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 passTextureCoords;
out vec3 eyePosition;
// Lighting needs the lights' colours linear. Decoding them here, once a
// corner rather than once a fragment, spares every fragment six powers.
flat out vec3 linearLightColor[lightCount];

void main() {
    vec4 world = transformationMatrix * vec4(position, 1.0);
    gl_ClipDistance[0] = dot(world, clipPlane);
    worldPosition = world.xyz;
    // Instances are scaled uniformly, so the model matrix turns normals too.
    worldNormal = mat3(transformationMatrix) * normals;
    passTextureCoords = textureCoords;
    eyePosition = inverse(viewMatrix)[3].xyz;
    for (int i = 0; i < lightCount; ++i) linearLightColor[i] = toLinear(lightColor[i]);
    gl_Position = projectionMatrix * viewMatrix * world;
}
