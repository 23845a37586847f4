#version 430 core

// One flare sprite, blended additively: its alpha, scaled by the light's
// "brightness", weights the colour it adds.

in vec2 spriteCoords;

uniform sampler2D flareTexture;
uniform float brightness;

out vec4 colour;

void main() {
    vec4 texel = texture(flareTexture, spriteCoords);
    colour = vec4(texel.rgb, texel.a * brightness);
}
