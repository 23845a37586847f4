#include "app/FrameLoop.h"
#include "app/Window.h"

int main() {
    nox::getWindow();
    {
        nox::FrameLoop loop;
        while (loop.running()) loop.iterate();
    }
    // The window singleton terminates GLFW at exit, after every other singleton
    // has released its GL objects.
    return 0;
}
