// Lighting is done in linear light. The lights' colours and every texture but
// the ground's (which holds reflectance) arrive as display values: they are
// decoded on the way in, and the result is encoded for the display at the end.
const float displayGamma = 2.2;

vec3 toLinear(vec3 encoded) {
    return pow(encoded, vec3(displayGamma));
}

vec3 toDisplay(vec3 linear) {
    return pow(linear, vec3(1.0 / displayGamma));
}
