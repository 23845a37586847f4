#version 430 core

// Sky faces and the moon. The scales are light intensities, so they are
// applied in linear light: a sky dimmed to 0.1 keeps its stars visible instead
// of crushing them to black as a scale of the encoded values would.

#include "displayEncoding.glsl"

in vec2 textureCoords;
in vec3 viewDirection;
flat in vec3 moonDirection;      // unit length
flat in vec3 encodedColorScale;  // outColorScale as the display encodes it

uniform sampler2D colorTex;  // clamped at its edges, so neighbouring faces meet without a seam
uniform vec4 outColorScale;    // what reaches the picture
uniform vec4 lightColorScale;  // what feeds the god rays

layout(location = 0) out vec4 outColor;
layout(location = 2) out vec4 outHighlight;

// The sky around the moon is lit by it. That light feeds the god rays
// whatever the scales say, so that the trees and ridges standing in front of
// it cut the rays into shafts. Linear light at the moon's centre, and how
// fast it falls off with the angle from the moon (1 - cosine, ~ half the
// angle squared).
const vec3 moonGlowLight = vec3(0.17, 0.19, 0.23);
const float moonGlowFalloff = 0.008;

vec3 moonGlow() {
    float cosine = dot(normalize(viewDirection), moonDirection);
    return moonGlowLight * exp((cosine - 1.0) / moonGlowFalloff);
}

void main() {
    vec4 texel = texture(colorTex, textureCoords);
    vec3 linear = toLinear(texel.rgb);
    // toDisplay(linear * scale), with the encoding of the texel undone and
    // redone only for the scale.
    outColor = vec4(texel.rgb * encodedColorScale, texel.a * outColorScale.a);
    vec3 highlight = linear * lightColorScale.rgb + moonGlow();
    outHighlight = vec4(toDisplay(highlight), texel.a * lightColorScale.a);
}
