#pragma once

#include <chrono>
#include <thread>

#include <GLFW/glfw3.h>

namespace nox::test {

template <typename Predicate>
bool pollUntil(Predicate predicate) {
    // Generous: it ends as soon as the predicate holds, and under load the X
    // server can take well over a second to pass an event on.
    constexpr int attempts = 2000;
    for (int i = 0; i < attempts; ++i) {
        glfwPollEvents();
        if (predicate()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace nox::test
