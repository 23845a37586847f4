#version 430 core

// Turns each particle into a square sprite facing the camera, sized in world
// units, textured with one cell of the atlas. The appearance comes packed by
// the compute programs: the whole part is sizeStep * atlasCells + cell, the
// fraction is the brightness.

layout(points) in;
layout(triangle_strip, max_vertices = 4) out;

uniform mat4 ProjectionMatrix;
uniform int NumRows;

in float appearance[];

out vec2 atlasCoords;
out float brightness;

const int atlasCells = 64;          // the packing's stride, as the compute programs use it
const float sizeUnit = 1.0 / 64.0;  // world units per size step
// Sprites fade into the night with distance as the ground does, and out of
// sight when they come so close that one would fill the view.
const float fogDensity = 0.005;
const float nearFadeFrom = 1.0;  // world units from the eye
const float nearFadeTo = 4.0;

const vec2 corners[4] = vec2[](vec2(-0.5, -0.5), vec2(0.5, -0.5), vec2(-0.5, 0.5), vec2(0.5, 0.5));

// The cell's top left corner; the atlas's first row is the top of the image,
// which is where texture coordinates start.
vec2 cellOrigin(int cell) {
    return vec2(cell % NumRows, cell / NumRows) / float(NumRows);
}

// Whether the sprite, a square of `size` facing the eye around `clipCentre`,
// lies wholly outside the view: its corners share the centre's depth.
bool outOfView(vec4 clipCentre, float size) {
    vec2 reach = 0.5 * size * vec2(ProjectionMatrix[0][0], ProjectionMatrix[1][1]);
    return any(greaterThan(abs(clipCentre.xy) - reach, vec2(clipCentre.w)));
}

void main() {
    vec4 centre = gl_in[0].gl_Position;
    vec4 clipCentre = ProjectionMatrix * centre;
    float whole = floor(appearance[0]);
    int code = int(whole);
    float size = float(code / atlasCells) * sizeUnit;
    // The quad faces the eye, so a centre behind it hides the whole sprite.
    if (size == 0.0 || centre.z >= 0.0 || outOfView(clipCentre, size)) return;
    float distance = length(centre.xyz);
    float fade = (appearance[0] - whole) * exp(-fogDensity * distance) * smoothstep(nearFadeFrom, nearFadeTo, distance);
    if (fade == 0.0) return;
    vec2 origin = cellOrigin(code % atlasCells);
    for (int i = 0; i < 4; ++i) {
        // The corner's offset in the eye's plane, projected on its own.
        vec2 offset = corners[i] * size;
        gl_Position = clipCentre + offset.x * ProjectionMatrix[0] + offset.y * ProjectionMatrix[1];
        atlasCoords = origin + vec2(corners[i].x + 0.5, 0.5 - corners[i].y) / float(NumRows);
        brightness = fade;
        EmitVertex();
    }
    EndPrimitive();
}
