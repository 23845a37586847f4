#version 430 core

// Particles arrive as world positions; the sprite is built in eye space, so
// only the view is applied here. The w component carries the packed
// appearance that the compute program wrote.

layout(location = 0) in vec4 position;

uniform mat4 ModelViewMatrix;

out float appearance;

void main() {
    gl_Position = ModelViewMatrix * vec4(position.xyz, 1.0);
    appearance = position.w;
}
