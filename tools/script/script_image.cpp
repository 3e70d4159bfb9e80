#include "tools/script/script_image.h"

#include <cstring>

#include "script/opcodes.h"

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void PutWords(std::vector<std::uint8_t>& out, const std::vector<std::uint32_t>& words,
              const std::vector<std::uint8_t>& extra) {
    PutU32(out, static_cast<std::uint32_t>(words.size() * 4 + extra.size()));
    for (const std::uint32_t word : words) {
        PutU32(out, word);
    }
    out.insert(out.end(), extra.begin(), extra.end());
}

class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    bool U32(std::uint32_t* value) {
        if (bytes_.size() - pos_ < 4) {
            return false;
        }
        *value = static_cast<std::uint32_t>(bytes_[pos_]) |
                 (static_cast<std::uint32_t>(bytes_[pos_ + 1]) << 8) |
                 (static_cast<std::uint32_t>(bytes_[pos_ + 2]) << 16) |
                 (static_cast<std::uint32_t>(bytes_[pos_ + 3]) << 24);
        pos_ += 4;
        return true;
    }
    bool Take(std::uint32_t size, std::vector<std::uint8_t>* out) {
        if (bytes_.size() - pos_ < size) {
            return false;
        }
        out->assign(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                    bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + size));
        pos_ += size;
        return true;
    }
    bool Words(std::vector<std::uint32_t>* words, std::vector<std::uint8_t>* extra) {
        std::uint32_t size = 0;
        std::vector<std::uint8_t> section;
        if (!U32(&size) || !Take(size, &section)) {
            return false;
        }
        words->resize(size / 4);
        for (std::size_t i = 0; i < words->size(); ++i) {
            (*words)[i] = ReadCodeU32(section.data() + 4 * i);
        }
        extra->assign(section.begin() + static_cast<std::ptrdiff_t>(words->size() * 4),
                      section.end());
        return true;
    }
    std::size_t pos() const { return pos_; }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t pos_ = 0;
};

}  // namespace

std::vector<std::uint8_t> WriteScriptImage(const ScriptImage& image) {
    std::vector<std::uint8_t> out;
    out.insert(out.end(), {'S', 'C', 'R', ' '});
    PutU32(out, image.reserved);
    PutWords(out, image.globals, image.globalsExtra);
    PutWords(out, image.locals, image.localsExtra);
    PutU32(out, static_cast<std::uint32_t>(image.code.size()));
    out.insert(out.end(), image.code.begin(), image.code.end());
    PutWords(out, image.jumpTable, image.jumpTableExtra);
    std::vector<std::uint8_t> labels;
    for (const ScriptLabelRecord& label : image.labels) {
        labels.insert(labels.end(), label.name.begin(), label.name.end());
        labels.push_back(0);
        PutU32(labels, label.position);
    }
    labels.insert(labels.end(), image.labelsExtra.begin(), image.labelsExtra.end());
    PutU32(out, static_cast<std::uint32_t>(labels.size()));
    out.insert(out.end(), labels.begin(), labels.end());
    out.insert(out.end(), image.tail.begin(), image.tail.end());
    return out;
}

std::optional<ScriptImage> ParseScriptImage(const std::vector<std::uint8_t>& bytes,
                                            std::string* error) {
    if (bytes.size() < 28 || std::memcmp(bytes.data(), "SCR ", 4) != 0) {
        *error = "not an \"SCR \" file";
        return std::nullopt;
    }
    ScriptImage image;
    Reader reader(bytes);
    std::uint32_t magic = 0;
    std::uint32_t codeSize = 0;
    std::uint32_t labelSize = 0;
    std::vector<std::uint8_t> labels;
    if (!reader.U32(&magic) || !reader.U32(&image.reserved) ||
        !reader.Words(&image.globals, &image.globalsExtra) ||
        !reader.Words(&image.locals, &image.localsExtra) || !reader.U32(&codeSize) ||
        !reader.Take(codeSize, &image.code) ||
        !reader.Words(&image.jumpTable, &image.jumpTableExtra) || !reader.U32(&labelSize) ||
        !reader.Take(labelSize, &labels)) {
        *error = "a section runs past the end of the file";
        return std::nullopt;
    }
    image.tail.assign(bytes.begin() + static_cast<std::ptrdiff_t>(reader.pos()), bytes.end());
    std::size_t pos = 0;
    while (pos < labels.size()) {
        const void* end = std::memchr(labels.data() + pos, 0, labels.size() - pos);
        if (end == nullptr) {
            break;
        }
        const auto nameLength =
            static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - (labels.data() + pos));
        if (labels.size() - (pos + nameLength + 1) < 4) {
            break;
        }
        ScriptLabelRecord record;
        record.name.assign(reinterpret_cast<const char*>(labels.data() + pos), nameLength);
        record.position = ReadCodeU32(labels.data() + pos + nameLength + 1);
        image.labels.push_back(std::move(record));
        pos += nameLength + 5;
    }
    image.labelsExtra.assign(labels.begin() + static_cast<std::ptrdiff_t>(pos), labels.end());
    return image;
}
