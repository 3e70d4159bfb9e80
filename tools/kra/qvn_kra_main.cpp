// qvn-kra: writes and reads sprite containers.
//   qvn-kra build SOURCE OUT  writes the container described by the text SOURCE (README.md);
//                             the images it names must lie beside SOURCE
//   qvn-kra dump FILE         loads FILE as the game does and prints what it holds; sounds are
//                             looked up in the sound folder beside FILE's folder

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "common/whole_file.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "kra/headless_devices.h"
#include "kra/kra_dump.h"
#include "kra/kra_source.h"
#include "kra/kra_writer.h"
#include "platform/d3dx/image_info.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/test_hooks.h"
#include "sprite_ui/sprite.h"

namespace fs = std::filesystem;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: qvn-kra build SOURCE OUT\n"
                 "       qvn-kra dump FILE\n");
    return 2;
}

int Refuse(const char* source, const qvn_kra::KraError& error) {
    std::fprintf(stderr, "%s:%d: %s\n", source, error.line, error.message.c_str());
    return 1;
}

// The images a source names must be readable images beside it, as the loader will need them
// beside the container.
bool CheckImages(const char* sourcePath, const qvn_kra::KraSource& source,
                 qvn_kra::KraError* error) {
    const fs::path folder = fs::path(sourcePath).parent_path();
    for (const qvn_kra::KraTexture& texture : source.textures) {
        std::vector<std::uint8_t> image;
        D3DXIMAGE_INFO info{};
        if (!qvn_tools::ReadWholeFile(folder / texture.fileName, &image)) {
            *error = {texture.line, "no image \"" + texture.fileName + "\" beside the source"};
            return false;
        }
        if (FAILED(D3DXGetImageInfoFromFileInMemory(image.data(), static_cast<UINT>(image.size()),
                                                    &info))) {
            *error = {texture.line, "\"" + texture.fileName + "\" is not a PNG or JPEG image"};
            return false;
        }
    }
    return true;
}

int Build(const char* sourcePath, const char* outPath) {
    std::string text;
    if (!qvn_tools::ReadWholeFile(sourcePath, &text)) {
        std::fprintf(stderr, "qvn-kra: cannot read %s\n", sourcePath);
        return 1;
    }
    qvn_kra::KraError error;
    std::optional<qvn_kra::KraSource> source = qvn_kra::ParseKraSource(text, &error);
    if (!source) {
        return Refuse(sourcePath, error);
    }
    std::optional<std::vector<std::uint8_t>> bytes = qvn_kra::WriteKra(*source, &error);
    if (!bytes) {
        return Refuse(sourcePath, error);
    }
    if (!CheckImages(sourcePath, *source, &error)) {
        return Refuse(sourcePath, error);
    }
    if (!qvn_tools::WriteWholeFile(outPath, *bytes)) {
        std::fprintf(stderr, "qvn-kra: cannot write %s\n", outPath);
        return 1;
    }
    return 0;
}

int Dump(const char* filePath) {
    const fs::path file = fs::absolute(filePath).lexically_normal();
    // The folder above the container's stands for the program directory, so that the sound
    // folder of the animations lies beside the container's folder.
    const fs::path folder = file.parent_path();
    win32_test::SetProgramDirectory(folder.parent_path().string());
    SetLogFileEnabled(0);
    std::optional<std::string> folderName = Utf8ToCp932(folder.filename().string());
    std::optional<std::string> fileName = Utf8ToCp932(file.filename().string());
    if (!folderName || !fileName) {
        std::fprintf(stderr, "qvn-kra: the name %s has no Shift-JIS form\n", filePath);
        return 1;
    }
    const std::string path =
        std::string(GetProgramDir()) + (folderName->empty() ? "" : *folderName + "\\") + *fileName;
    // The devices' start-up lines are not the loader's: they stay out of standard error.
    SetLogEnabled(0);
    const bool started = qvn_kra::StartHeadlessDevices(64, 64);
    SetLogEnabled(1);
    if (!started) {
        std::fprintf(stderr, "qvn-kra: cannot start the devices the loader needs\n");
        return 1;
    }
    auto* data = new SpriteData();
    SpriteContainerCopy copy;
    const SpriteLoadResult result = LoadSpriteContainer(path.c_str(), data, &copy);
    if (result == SpriteLoadResult::Ok) {
        const std::string text = qvn_kra::DumpKra(copy.file, *data);
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    ISprite::ReleaseData(data);
    SetLogEnabled(0);
    qvn_kra::StopHeadlessDevices();
    return result == SpriteLoadResult::Ok && std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "build") == 0) {
        return Build(argv[2], argv[3]);
    }
    if (argc == 3 && std::strcmp(argv[1], "dump") == 0) {
        return Dump(argv[2]);
    }
    return Usage();
}
