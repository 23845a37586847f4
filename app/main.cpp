#include <iostream>

#include "app/FrameLoop.h"
#include "app/ResourceDirectory.h"
#include "app/Window.h"
#include "assets/ImagePrefetch.h"

int main() {
    // Decoding the images overlaps with opening the window and building the
    // scene; the textures are still made where they always were.
    nox::ImagePrefetch images(nox::resourceDirectory);
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
