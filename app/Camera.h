#pragma once

#include <iosfwd>

#include <glm/glm.hpp>

struct GLFWwindow;

namespace nox {

struct Camera {
    glm::vec3 position{0.0f};
    glm::vec3 rotation{0.0f};  // degrees: pitch (X), yaw (Y), roll (Z); never wrapped
};

// The one camera every pass reads.
Camera& getCamera();

// Inverse of the camera's model matrix (scale 1).
glm::mat4 getViewMatrix();

// Turns the camera by the cursor's offset from the window centre (0.1 degree per
// pixel) and puts the cursor back there. Does nothing while unfocused.
void updateMouseLook(Camera& camera);

// The centre the cursor is put back to. The offset is measured from this same
// point, so a resting mouse never turns the view, even with an odd window size.
glm::ivec2 cursorRestPosition(int width, int height);
void applyMouseLook(Camera& camera, double cursorX, double cursorY, int width, int height);

// W/A/S/D free flight at 20 units per second, over the last frame's deltaTime.
void moveCamera(Camera& camera, GLFWwindow* window);

struct MoveKeys {
    bool forward = false;  // W
    bool left = false;     // A
    bool back = false;     // S
    bool right = false;    // D
};
void applyMovement(Camera& camera, const MoveKeys& keys, float dt);

// Writes the pose to standard output while the left mouse button is held.
void printCamera(const Camera& camera);
void writeCameraPose(std::ostream& out, const Camera& camera);

}  // namespace nox
