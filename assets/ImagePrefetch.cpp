#include "assets/ImagePrefetch.h"

#include <algorithm>
#include <filesystem>

namespace nox {

namespace fs = std::filesystem;

namespace {

ImagePrefetch* current = nullptr;

// The files loadTexture is given: what stb_image decodes and the assets use.
bool isImageFile(const fs::path& path) {
    const std::string extension = path.extension().string();
    return extension == ".png" || extension == ".jpg" || extension == ".jpeg";
}

std::string normalised(const std::string& path) {
    return fs::path(path).lexically_normal().string();
}

}  // namespace

unsigned ImagePrefetch::defaultWorkerCount() {
    // The main thread meanwhile opens the window and builds the terrain; more
    // workers than cores would only take turns with it.
    return std::max(1u, std::thread::hardware_concurrency());
}

ImagePrefetch::ImagePrefetch(const std::string& directory, unsigned workerCount) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error) && isImageFile(it->path())) queue.push_back(normalised(it->path().string()));
    }
    std::sort(queue.begin(), queue.end());
    for (const std::string& path : queue) entries[path];
    current = this;
    for (unsigned i = 0; i < workerCount && !queue.empty(); ++i) workers.emplace_back(&ImagePrefetch::work, this);
}

ImagePrefetch::~ImagePrefetch() {
    stop();
}

void ImagePrefetch::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    for (std::thread& worker : workers) {
        if (worker.joinable()) worker.join();
    }
    if (current == this) current = nullptr;
}

ImagePrefetch* ImagePrefetch::active() {
    return current;
}

std::unique_ptr<DecodedImage> ImagePrefetch::decode(const std::string& path) {
    std::unique_ptr<DecodedImage> image = DecodedImage::fromFile(path);
    if (!image->decoded()) image.reset();
    return image;
}

void ImagePrefetch::work() {
    std::unique_lock<std::mutex> lock(mutex);
    while (!stopping) {
        while (next < queue.size() && entries[queue[next]].state != State::queued) ++next;
        if (next == queue.size()) return;
        const std::string path = queue[next++];
        entries[path].state = State::decoding;
        lock.unlock();
        std::unique_ptr<DecodedImage> image = decode(path);
        lock.lock();
        Entry& entry = entries[path];
        entry.image = std::move(image);
        entry.state = State::done;
        decoded.notify_all();
    }
}

std::unique_ptr<DecodedImage> ImagePrefetch::take(const std::string& path) {
    std::unique_lock<std::mutex> lock(mutex);
    const auto found = entries.find(normalised(path));
    if (found == entries.end()) return nullptr;
    Entry& entry = found->second;
    if (entry.state == State::queued) {
        // Needed now, and no worker has it: decoding it here is quicker than
        // waiting for the queue to reach it.
        entry.state = State::taken;
        lock.unlock();
        return decode(found->first);
    }
    decoded.wait(lock, [&entry] { return entry.state != State::decoding; });
    entry.state = State::taken;
    return std::move(entry.image);
}

}  // namespace nox
