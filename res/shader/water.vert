#version 430 core

// The lake: the unit quad laid flat (quad x to x, quad y to z) at the tile's
// height, with the coordinates the fragment stage needs to find the
// reflection and refraction images and the tiling wave maps.

in vec2 position;

uniform mat4 modelMatrix;
uniform mat4 viewMatrix;
uniform mat4 projectionMatrix;
uniform vec3 cameraPosition;

const float waveLength = 24.0;  // world units covered by one tile of the wave maps

out vec4 clipSpace;
out vec2 waveCoords;
out vec3 worldPosition;
out vec3 toCamera;

void main() {
    vec4 world = modelMatrix * vec4(position.x, 0.0, position.y, 1.0);
    clipSpace = projectionMatrix * viewMatrix * world;
    waveCoords = world.xz / waveLength;
    worldPosition = world.xyz;
    toCamera = cameraPosition - world.xyz;
    gl_Position = clipSpace;
}
