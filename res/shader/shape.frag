#version 430 core

// A light source seen directly: its flat colour goes to the picture and, as
// something bright, to the highlight image that the god rays are made from.

uniform vec4 color;

layout(location = 0) out vec4 outColor;
layout(location = 2) out vec4 outHighlight;

void main() {
    outColor = color;
    outHighlight = color;
}
