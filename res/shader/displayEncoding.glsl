// Lighting is done in linear light: colours given as display values (the
// textures, but for the ground's, which holds reflectance; the lights' colours)
// are decoded on the way in, and the result is encoded for the display at the end.
const float displayGamma = 2.2;

vec3 toLinear(vec3 encoded) {
    return pow(encoded, vec3(displayGamma));
}

vec3 toDisplay(vec3 linear) {
    return pow(linear, vec3(1.0 / displayGamma));
}
