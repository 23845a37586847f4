#version 430 core

// One axis of a depth-of-field blur: each pixel is averaged along its column
// over a kernel that widens with the distance between what it shows and the
// focus, up to "maxKernelHeight" texels at "maxDeltaDepth" or more away.
// Distances are in world units, recovered from the window-space depth.

in vec2 textureCoords;

uniform sampler2D colorTexture;
uniform sampler2D depthTexture;
uniform int targetHeight;
uniform float focusDepth = 60.0;  // world units in front of the camera
uniform float maxDeltaDepth;
uniform int maxKernelHeight;

out vec4 colour;

// The planes of the scene's projection.
const float nearPlane = 0.1;
const float farPlane = 1000.0;

float distanceFromCamera(vec2 at) {
    float ndcDepth = texture(depthTexture, at).r * 2.0 - 1.0;
    return 2.0 * nearPlane * farPlane / (farPlane + nearPlane - ndcDepth * (farPlane - nearPlane));
}

void main() {
    float texel = 1.0 / float(targetHeight);
    float blur = clamp(abs(distanceFromCamera(textureCoords) - focusDepth) / maxDeltaDepth, 0.0, 1.0);
    int reach = int(round(blur * float(maxKernelHeight / 2)));
    float first = 0.5 * texel;
    float last = 1.0 - 0.5 * texel;
    vec4 sum = vec4(0.0);
    for (int i = -reach; i <= reach; ++i) {
        vec2 at = textureCoords;
        at.y = clamp(at.y + float(i) * texel, first, last);
        sum += texture(colorTexture, at);
    }
    colour = sum / float(2 * reach + 1);
}
