#version 430 core

// The full-screen quad: corners from -1 to 1, texture coordinates from 0 at
// the bottom-left to 1 at the top-right corner of the image.

in vec2 position;

out vec2 textureCoords;

void main() {
    textureCoords = position * 0.5 + 0.5;
    gl_Position = vec4(position, 0.0, 1.0);
}
