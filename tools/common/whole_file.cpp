#include "common/whole_file.h"

#include <fstream>
#include <iterator>

namespace qvn_tools {

namespace fs = std::filesystem;

bool ReadWholeFile(const fs::path& path, std::vector<std::uint8_t>* data) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    data->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool ReadWholeFile(const fs::path& path, std::string* text) {
    std::vector<std::uint8_t> data;
    if (!ReadWholeFile(path, &data)) {
        return false;
    }
    text->assign(data.begin(), data.end());
    return true;
}

bool WriteWholeFile(const fs::path& path, const std::vector<std::uint8_t>& data) {
    const fs::path temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data.data()),
                  static_cast<std::streamsize>(data.size()));
        out.flush();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
    return !error;
}

}  // namespace qvn_tools
