#pragma once

namespace nox {

// Turns a polled key state into one event per press: a key held over many
// frames toggles once, on the frame it goes down.
class KeyToggle {
public:
    bool pressed(bool isDown) {
        const bool wentDown = isDown && !wasDown;
        wasDown = isDown;
        return wentDown;
    }

private:
    bool wasDown = false;
};

}  // namespace nox
