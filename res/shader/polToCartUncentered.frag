#version 430 core

// Turns an image that cartToPolUncentered laid out in polar coordinates about
// "center" back into the picture.
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
// Points nearer the centre than innerRadius show the bottom row.

in vec2 textureCoords;

uniform sampler2D image;
uniform vec2 center;  // texture coordinates, y up

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

float rowAt(float radius) {
    return log(max(radius, innerRadius) / innerRadius) / log(outerRadius() / innerRadius);
}

void main() {
    vec2 offset = (textureCoords - center) * aspect();
    float radius = length(offset);
    float angle = radius > 0.0 ? atan(offset.y, offset.x) : 0.0;
    float halfTexel = 0.5 / float(textureSize(image, 0).y);
    // Across the width the image repeats, so the rays meet without a seam
    // where the angle wraps; up the height it must not.
    float row = clamp(rowAt(radius), halfTexel, 1.0 - halfTexel);
    colour = texture(image, vec2(angle / (2.0 * pi) + 0.5, row));
}
