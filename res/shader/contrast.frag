#version 430 core

// Moves every channel away from mid-grey (or towards it, for a negative
// "contrast") by the given fraction of its distance.

in vec2 textureCoords;

uniform sampler2D image;
uniform float contrast;

out vec4 colour;

const vec3 midGrey = vec3(0.5);

void main() {
    vec4 texel = texture(image, textureCoords);
    vec3 spread = midGrey + (texel.rgb - midGrey) * (1.0 + contrast);
    colour = vec4(clamp(spread, 0.0, 1.0), texel.a);
}
