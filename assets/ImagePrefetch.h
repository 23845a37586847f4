#pragma once

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "assets/DecodedImage.h"

namespace nox {

// Decodes every image file under a directory on worker threads while the
// program starts, so that the texture uploads of the first frame find their
// pixels ready instead of decoding dozens of files one after another. It
// fetches pixels only: which textures exist, and when, is still decided by
// whoever calls loadTexture. Only images that decode are kept; a file that
// does not is decoded again, and reported, by loadTexture as if nothing had
// been fetched ahead.
//
// While an ImagePrefetch lives, loadTexture takes from it. One at a time.
class ImagePrefetch {
public:
    explicit ImagePrefetch(const std::string& directory, unsigned workerCount = defaultWorkerCount());
    ~ImagePrefetch();

    ImagePrefetch(const ImagePrefetch&) = delete;
    ImagePrefetch& operator=(const ImagePrefetch&) = delete;

    // The prefetch loadTexture takes from, or null.
    static ImagePrefetch* active();

    // Lets each worker finish the image in hand, waits for them all and stops
    // being the active prefetch. For a process that ends without unwinding,
    // so that no worker still runs while it exits; the destructor does the
    // same.
    void stop();

    // The decoded image of `path`, waiting if a worker is decoding it, or
    // decoding it here if no worker has started on it yet. Null when the path
    // is not one of the prefetched files, was taken before, or did not decode.
    std::unique_ptr<DecodedImage> take(const std::string& path);

    static unsigned defaultWorkerCount();

private:
    enum class State { queued, decoding, done, taken };
    struct Entry {
        State state = State::queued;
        std::unique_ptr<DecodedImage> image;
    };

    void work();
    static std::unique_ptr<DecodedImage> decode(const std::string& path);

    std::mutex mutex;
    std::condition_variable decoded;
    std::map<std::string, Entry> entries;  // by normalised path
    std::vector<std::string> queue;        // in the order the workers take them
    std::size_t next = 0;
    bool stopping = false;
    std::vector<std::thread> workers;
};

}  // namespace nox
