#include "tests/fault/Damage.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <stb/stb_image.h>
#include <zlib.h>

namespace nox::test {

namespace fs = std::filesystem;

namespace {

const Damage imageDamages[] = {Damage::missing,     Damage::empty,        Damage::truncated,     Damage::notAnImage,
                               Damage::sixteenBits, Damage::greyAndAlpha, Damage::enormousHeader};
const Damage modelDamages[] = {Damage::missing, Damage::missingMaterials, Damage::missingMapOfModel, Damage::truncated,
                               Damage::garbage, Damage::indexOutOfRange,  Damage::polygonFace};
const Damage stageDamages[] = {Damage::missing, Damage::compileError};

bool isImage(const fs::path& path) {
    const std::string extension = path.extension().string();
    return extension == ".png" || extension == ".jpg" || extension == ".jpeg";
}

bool isStage(const fs::path& path) {
    const std::string extension = path.extension().string();
    return extension == ".vert" || extension == ".frag" || extension == ".geom" || extension == ".comp";
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void putBigEndian(std::string& bytes, size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(value >> (8 * (size - 1 - i)));
}

std::string chunk(const char* type, const std::string& data) {
    std::string result(4, '\0');
    putBigEndian(result, 0, static_cast<std::uint32_t>(data.size()), 4);
    const std::string body = std::string(type, 4) + data;
    std::string crc(4, '\0');
    putBigEndian(crc, 0, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())),
                 4);
    return result + body + crc;
}

// A PNG of the samples given row by row, top first, with 1 or 2 bytes (big
// endian) a sample.
std::string encodePng(int width, int height, int channels, int bitDepth, const std::string& samples) {
    const size_t rowBytes = static_cast<size_t>(width) * channels * (bitDepth / 8);
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw += '\0';  // no filter
        raw.append(samples, y * rowBytes, rowBytes);
    }
    uLongf packedSize = compressBound(raw.size());
    std::string packed(packedSize, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
             raw.size());
    packed.resize(packedSize);

    const char colourTypes[] = {0, 0, 4, 2, 6};  // by channel count: grey, grey + alpha, RGB, RGBA
    std::string header(13, '\0');
    putBigEndian(header, 0, static_cast<std::uint32_t>(width), 4);
    putBigEndian(header, 4, static_cast<std::uint32_t>(height), 4);
    header[8] = static_cast<char>(bitDepth);
    header[9] = colourTypes[channels];
    return "\x89PNG\r\n\x1a\n" + chunk("IHDR", header) + chunk("IDAT", packed) + chunk("IEND", "");
}

// The file's picture decoded to `channels` channels (0: its own count), as
// rows of 8-bit samples.
std::string decodedSamples(const std::string& path, int channels, int& width, int& height, int& channelsOut) {
    stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &channelsOut, channels);
    if (pixels == nullptr) throw std::runtime_error("cannot decode " + path);
    if (channels != 0) channelsOut = channels;
    std::string samples(reinterpret_cast<const char*>(pixels), static_cast<size_t>(width) * height * channelsOut);
    stbi_image_free(pixels);
    return samples;
}

// The same picture at 16 bits per channel: each 8-bit value v becomes v * 257,
// which a decoder that keeps 8 bits turns back into v.
std::string sixteenBitPng(const std::string& path) {
    int width = 0, height = 0, channels = 0;
    std::string wide;
    for (char sample : decodedSamples(path, 0, width, height, channels)) wide.append(2, sample);
    return encodePng(width, height, channels, 16, wide);
}

// The same picture reduced to grey and alpha, a channel count that no texture
// of the scene has.
std::string greyAndAlphaPng(const std::string& path) {
    int width = 0, height = 0, channels = 0;
    const std::string samples = decodedSamples(path, 2, width, height, channels);
    return encodePng(width, height, channels, 8, samples);
}

// Rewrites the size in the header and nothing else. PNG: the IHDR fields
// (the decoder does not check the chunk's CRC). JPEG: the frame header.
std::string enormousHeader(std::string bytes) {
    if (bytes.compare(0, 4, "\x89PNG") == 0) {
        putBigEndian(bytes, 16, enormousWidth, 4);
        putBigEndian(bytes, 20, enormousHeight, 4);
        return bytes;
    }
    for (size_t at = 2; at + 9 < bytes.size() && static_cast<unsigned char>(bytes[at]) == 0xFF;) {
        const auto marker = static_cast<unsigned char>(bytes[at + 1]);
        const size_t length =
            (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
        const bool frameHeader = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader) {
            putBigEndian(bytes, at + 5, enormousHeight, 2);
            putBigEndian(bytes, at + 7, enormousWidth, 2);
            return bytes;
        }
        at += 2 + length;
    }
    throw std::runtime_error("no image header found to enlarge");
}

std::string garbage(size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t state = 0x9E3779B9u;  // fixed: the same garbage every run
    for (char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state);
    }
    return bytes;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> result;
    for (std::string word; in >> word;) result.push_back(word);
    return result;
}

// The first face names one vertex beyond the last.
std::string indexOutOfRange(const std::string& obj) {
    size_t vertices = 0;
    std::string result;
    bool changed = false;
    for (const std::string& line : lines(obj)) {
        if (line.rfind("v ", 0) == 0) ++vertices;
        if (!changed && line.rfind("f ", 0) == 0) {
            const size_t start = 2;
            const size_t end = line.find_first_not_of("0123456789", start);
            result += "f " + std::to_string(vertices + 1) + line.substr(end) + "\n";
            changed = true;
        } else {
            result += line + "\n";
        }
    }
    return result;
}

// A face of five corners, written like the file's own faces: the corners of
// its first two faces.
std::string withPolygonFace(const std::string& obj) {
    std::vector<std::string> corners;
    for (const std::string& line : lines(obj)) {
        if (line.rfind("f ", 0) != 0) continue;
        const std::vector<std::string> face = words(line);
        corners.insert(corners.end(), face.begin() + 1, face.end());
        if (corners.size() >= 5) break;
    }
    std::string face = "f";
    for (size_t i = 0; i < 5; ++i) face += " " + corners.at(i);
    return obj + (obj.empty() || obj.back() == '\n' ? "" : "\n") + face + "\n";
}

// The stage calls a function that no stage defines: every stage compiles,
// the link fails. Renaming main keeps the stage's own text untouched.
std::string unresolvedCall(const std::string& stage) {
    const size_t versionLine = stage.rfind("#version", 0) == 0 ? stage.find('\n') + 1 : 0;
    return stage.substr(0, versionLine) + "#define main noxReplacedMain\n" + stage.substr(versionLine) +
           "\n#undef main\nvoid noxUndefinedFunction();\n"
           "void main() {\n    noxUndefinedFunction();\n    noxReplacedMain();\n}\n";
}

std::string directoryOf(const std::string& path) {
    return fs::path(path).parent_path().string();
}

}  // namespace

const char* damageName(Damage damage) {
    switch (damage) {
        case Damage::missing: return "missing";
        case Damage::empty: return "empty";
        case Damage::truncated: return "truncated";
        case Damage::notAnImage: return "notAnImage";
        case Damage::sixteenBits: return "sixteenBits";
        case Damage::greyAndAlpha: return "greyAndAlpha";
        case Damage::enormousHeader: return "enormousHeader";
        case Damage::missingMaterials: return "missingMaterials";
        case Damage::missingMapOfModel: return "missingMapOfModel";
        case Damage::garbage: return "garbage";
        case Damage::indexOutOfRange: return "indexOutOfRange";
        case Damage::polygonFace: return "polygonFace";
        case Damage::compileError: return "compileError";
        case Damage::linkError: return "linkError";
    }
    return "?";
}

void PrintTo(const FaultCase& fault, std::ostream* out) {
    *out << fault.target << " " << damageName(fault.damage);
}

std::vector<FaultCase> enumerateFaultCases(const std::string& resources) {
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(resources)) {
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), resources).generic_string());
    }
    std::sort(files.begin(), files.end());
    std::vector<FaultCase> cases;
    std::vector<std::string> programs;
    for (const std::string& file : files) {
        const fs::path path(file);
        if (isImage(path)) {
            for (Damage damage : imageDamages) cases.push_back({file, damage});
        } else if (path.extension() == ".obj") {
            for (Damage damage : modelDamages) cases.push_back({file, damage});
        } else if (isStage(path)) {
            for (Damage damage : stageDamages) cases.push_back({file, damage});
            const std::string stem = (path.parent_path() / path.stem()).generic_string();
            if (std::find(programs.begin(), programs.end(), stem) == programs.end()) programs.push_back(stem);
        }
    }
    for (const std::string& program : programs) cases.push_back({program, Damage::linkError});
    std::sort(cases.begin(), cases.end(), [](const FaultCase& a, const FaultCase& b) {
        return a.target != b.target ? a.target < b.target : a.damage < b.damage;
    });
    return cases;
}

std::string materialLibraryOf(const std::string& obj) {
    for (const std::string& line : lines(readBytes(obj))) {
        if (line.rfind("mtllib ", 0) == 0) return line.substr(7);
    }
    return "";
}

std::vector<std::string> textureMapsOf(const std::string& mtl) {
    std::vector<std::string> maps;
    for (const std::string& line : lines(readBytes(mtl))) {
        const std::vector<std::string> tokens = words(line);
        if (tokens.size() >= 2 && (tokens[0].rfind("map_", 0) == 0 || tokens[0] == "bump"))
            maps.push_back(tokens.back());
    }
    return maps;
}

void applyDamage(const std::string& resources, const FaultCase& fault) {
    const std::string path = resources + "/" + fault.target;
    switch (fault.damage) {
        case Damage::missing: fs::remove(path); return;
        case Damage::empty: writeBytes(path, ""); return;
        case Damage::truncated: {
            const std::string bytes = readBytes(path);
            writeBytes(path, bytes.substr(0, bytes.size() / 2));
            return;
        }
        case Damage::notAnImage: writeBytes(path, "This is a note where a picture should be.\n"); return;
        case Damage::sixteenBits: writeBytes(path, sixteenBitPng(path)); return;
        case Damage::greyAndAlpha: writeBytes(path, greyAndAlphaPng(path)); return;
        case Damage::enormousHeader: writeBytes(path, enormousHeader(readBytes(path))); return;
        case Damage::missingMaterials: fs::remove(directoryOf(path) + "/" + materialLibraryOf(path)); return;
        case Damage::missingMapOfModel: {
            const std::string mtl = directoryOf(path) + "/" + materialLibraryOf(path);
            fs::remove(directoryOf(path) + "/" + textureMapsOf(mtl).at(0));
            return;
        }
        case Damage::garbage: writeBytes(path, garbage(fs::file_size(path))); return;
        case Damage::indexOutOfRange: writeBytes(path, indexOutOfRange(readBytes(path))); return;
        case Damage::polygonFace: writeBytes(path, withPolygonFace(readBytes(path))); return;
        case Damage::compileError:
            writeBytes(path, readBytes(path) + "\n#error injected fault: this stage must not compile\n");
            return;
        case Damage::linkError: {
            const std::string stage = fs::exists(path + ".comp") ? path + ".comp" : path + ".vert";
            writeBytes(stage, unresolvedCall(readBytes(stage)));
            return;
        }
    }
}

}  // namespace nox::test
