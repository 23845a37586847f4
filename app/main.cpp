#include <iostream>

#include "app/FrameLoop.h"
#include "app/ResourceDirectory.h"
#include "app/Window.h"

int main() {
    nox::getWindow();
    nox::reportMissingResourceDirectory(std::cout);
    {
        nox::FrameLoop loop;
        while (loop.running()) loop.iterate();
    }
    // The window singleton terminates GLFW at exit, after every other singleton
    // has released its GL objects.
    return 0;
}
