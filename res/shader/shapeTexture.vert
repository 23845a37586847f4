#version 430 core

// A unit quad in its xy-plane. The texture's top row (v = 0) lies along the
// quad's top edge (y = +1), so pictures stand upright on an upright quad.

in vec2 position;

uniform mat4 transformationMatrix;
uniform mat4 viewMatrix;
uniform mat4 projectionMatrix;

out vec2 textureCoords;

void main() {
    textureCoords = vec2(position.x * 0.5 + 0.5, 0.5 - position.y * 0.5);
    gl_Position = projectionMatrix * viewMatrix * transformationMatrix * vec4(position, 0.0, 1.0);
}
