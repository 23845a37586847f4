#version 430 core

// Sky faces and the moon. The scales are light intensities, so they are
// applied in linear light: a sky dimmed to 0.1 keeps its stars visible instead
// of crushing them to black as a scale of the encoded values would.

in vec2 textureCoords;

uniform sampler2D colorTex;
uniform vec4 outColorScale;    // what reaches the picture
uniform vec4 lightColorScale;  // what feeds the god rays

layout(location = 0) out vec4 outColor;
layout(location = 2) out vec4 outHighlight;

const float displayGamma = 2.2;

vec3 toLinear(vec3 encoded) {
    return pow(encoded, vec3(displayGamma));
}

vec3 toDisplay(vec3 linear) {
    return pow(linear, vec3(1.0 / displayGamma));
}

// The textures repeat, so a bilinear tap on a face's border would blend in the
// opposite border. Keeping the coordinate half a texel inside, at the mip level
// actually sampled, makes neighbouring faces meet without a seam.
vec2 insideBorder(vec2 uv) {
    float level = ceil(max(textureQueryLod(colorTex, uv).y, 0.0));
    vec2 halfTexel = 0.5 * exp2(level) / vec2(textureSize(colorTex, 0));
    return clamp(uv, halfTexel, 1.0 - halfTexel);
}

void main() {
    vec4 texel = texture(colorTex, insideBorder(textureCoords));
    vec3 linear = toLinear(texel.rgb);
    outColor = vec4(toDisplay(linear * outColorScale.rgb), texel.a * outColorScale.a);
    outHighlight = vec4(toDisplay(linear * lightColorScale.rgb), texel.a * lightColorScale.a);
}
