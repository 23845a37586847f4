#version 430 core

// A unit quad in its xy-plane. The texture's top row (v = 0) lies along the
// quad's top edge (y = +1), so pictures stand upright on an upright quad.

#include "displayEncoding.glsl"

in vec2 position;

uniform mat4 transformationMatrix;
uniform mat4 viewMatrix;
uniform mat4 projectionMatrix;
uniform vec4 outColorScale;

out vec2 textureCoords;
out vec3 viewDirection;             // from the eye, in the world
flat out vec3 moonDirection;        // unit length, the same for the whole quad
flat out vec3 encodedColorScale;    // outColorScale as the display encodes it

const vec3 moonPosition = vec3(-450.0, 362.0, -345.0);

void main() {
    textureCoords = vec2(position.x * 0.5 + 0.5, 0.5 - position.y * 0.5);
    vec4 world = transformationMatrix * vec4(position, 0.0, 1.0);
    vec3 eye = inverse(viewMatrix)[3].xyz;
    viewDirection = world.xyz - eye;
    moonDirection = normalize(moonPosition - eye);
    // The same for every fragment: worked out here, once a corner.
    encodedColorScale = toDisplay(outColorScale.rgb);
    gl_Position = projectionMatrix * viewMatrix * world;
}
