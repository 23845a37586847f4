#version 430 core

// Lays the image out in polar coordinates about the middle of the image.
//
// Polar layout: the angle about the centre runs along the width, from -pi
// at the left edge to pi at the right, and the distance from the centre runs
// up the height. Distances are measured in image heights, so that circles on
// the screen stay circles, and grow geometrically up the height, from
// innerRadius on the bottom row to the image corner farthest from the centre
// on the top row: a fixed number of rows spans a fixed fraction of the
// distance, so a blur up the height draws rays that lengthen with their
// distance from the light.
//
// Points beyond the image's edge take the edge's colour, so that the edge
// pixels come back as they were.

in vec2 textureCoords;

uniform sampler2D image;
const vec2 center = vec2(0.5);  // the middle of the image

out vec4 colour;

const float pi = 3.14159265;
const float innerRadius = 0.0001;  // image heights, on the bottom row

// Image widths and heights to image heights.
vec2 aspect() {
    vec2 size = vec2(textureSize(image, 0));
    return vec2(size.x / size.y, 1.0);
}

float outerRadius() {
    return length(max(center, 1.0 - center) * aspect());
}

float radiusAt(float row) {
    return innerRadius * pow(outerRadius() / innerRadius, row);
}

// The image repeats; clamped half a texel inside, no tap reaches across to
// the opposite edge.
vec4 imageAt(vec2 at) {
    vec2 halfTexel = 0.5 / vec2(textureSize(image, 0));
    return texture(image, clamp(at, halfTexel, 1.0 - halfTexel));
}

void main() {
    float angle = (textureCoords.x * 2.0 - 1.0) * pi;
    float radius = radiusAt(textureCoords.y);
    colour = imageAt(center + vec2(cos(angle), sin(angle)) * radius / aspect());
}
