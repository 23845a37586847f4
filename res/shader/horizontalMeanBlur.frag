#version 430 core

// The mean of "kernelWidth" texels of the row, centred on this one. Taps past
// the left or right edge repeat the edge texel.

in vec2 textureCoords;

uniform sampler2D image;
uniform int targetWidth;
uniform int kernelWidth;

out vec4 colour;

void main() {
    float texel = 1.0 / float(targetWidth);
    float first = 0.5 * texel;
    float last = 1.0 - 0.5 * texel;
    int reach = kernelWidth / 2;
    vec4 sum = vec4(0.0);
    for (int i = -reach; i <= reach; ++i) {
        float x = clamp(textureCoords.x + float(i) * texel, first, last);
        sum += texture(image, vec2(x, textureCoords.y));
    }
    colour = sum / float(2 * reach + 1);
}
