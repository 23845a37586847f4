#version 430 core

// Places one flare sprite. "transform" moves the unit quad into screen
// coordinates that run from the top-left corner, 0 to 1 across and down. The
// sprite's own extent is measured in screen heights, so it is narrowed across
// by the window's aspect ratio and stays round on a wide window.

in vec2 position;

uniform mat4 transform;
uniform float aspectRatio;  // window width over height

out vec2 spriteCoords;

void main() {
    spriteCoords = position * 0.5 + 0.5;
    vec2 centre = (transform * vec4(0.0, 0.0, 0.0, 1.0)).xy;
    vec2 extent = (transform * vec4(position, 0.0, 0.0)).xy;
    vec2 screen = centre + vec2(extent.x / aspectRatio, extent.y);
    gl_Position = vec4(2.0 * screen.x - 1.0, 1.0 - 2.0 * screen.y, 0.0, 1.0);
}
