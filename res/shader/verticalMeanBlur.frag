#version 430 core

// The mean of "kernelHeight" texels of the column, centred on this one. Taps
// past the top or bottom edge repeat the edge texel.

in vec2 textureCoords;

uniform sampler2D image;
uniform int targetHeight;
uniform int kernelHeight;

out vec4 colour;

void main() {
    float texel = 1.0 / float(targetHeight);
    float first = 0.5 * texel;
    float last = 1.0 - 0.5 * texel;
    int reach = kernelHeight / 2;
    vec4 sum = vec4(0.0);
    for (int i = -reach; i <= reach; ++i) {
        float y = clamp(textureCoords.y + float(i) * texel, first, last);
        sum += texture(image, vec2(textureCoords.x, y));
    }
    colour = sum / float(2 * reach + 1);
}
