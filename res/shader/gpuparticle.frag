#version 430 core

// The atlas is drawn on black; blending keeps the brighter of sprite and
// scene, so the black never shows. The brightness is a fade, applied to the
// displayed value so that it fades evenly to the eye.

in vec2 atlasCoords;
in float brightness;

uniform sampler2D atlas;  // unit 0

layout(location = 0) out vec4 outColor;
layout(location = 2) out vec4 outHighlight;

void main() {
    outColor = texture(atlas, atlasCoords) * brightness;
    // Nothing of the particles feeds the god rays; under the brighter-of
    // blending a black highlight leaves that image as it was.
    outHighlight = vec4(0.0);
}
