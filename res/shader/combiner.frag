#version 430 core

// Lays the god rays over the scene's picture as pale moonlight. The two are
// screened, not added: the rays brighten dark sky the most and never push a
// bright pixel past white.

in vec2 textureCoords;

uniform sampler2D colourTexture;
uniform sampler2D highlightTexture;

out vec4 colour;

const vec3 moonlightTint = vec3(0.85, 0.9, 1.0);
const float rayGain = 1.6;

vec3 screen(vec3 base, vec3 light) {
    return 1.0 - (1.0 - base) * (1.0 - light);
}

void main() {
    vec3 scene = texture(colourTexture, textureCoords).rgb;
    vec3 rays = clamp(texture(highlightTexture, textureCoords).rgb * moonlightTint * rayGain, 0.0, 1.0);
    colour = vec4(screen(scene, rays), 1.0);
}
