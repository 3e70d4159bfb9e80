#include "tools/script/script_image.h"

#include <span>

#include "foundation/byte_reader.h"
#include "foundation/byte_writer.h"

namespace {

void PutWords(ByteWriter& out, const std::vector<std::uint32_t>& words,
              const std::vector<std::uint8_t>& extra) {
    out.U32(static_cast<std::uint32_t>(words.size() * 4 + extra.size()));
    for (const std::uint32_t word : words) {
        out.U32(word);
    }
    out.Bytes(extra);
}

// A section: its size in bytes as a u32, then that many bytes.
std::vector<std::uint8_t> ReadSection(ByteReader& reader) {
    const std::span<const std::uint8_t> section = reader.Span(reader.U32());
    return std::vector<std::uint8_t>(section.begin(), section.end());
}

// A section of whole words; the bytes after the last whole word are kept as `extra`.
void ReadWords(ByteReader& reader, std::vector<std::uint32_t>* words,
               std::vector<std::uint8_t>* extra) {
    ByteReader section(reader.Span(reader.U32()));
    words->resize(section.Size() / 4);
    for (std::uint32_t& word : *words) {
        word = section.U32();
    }
    const std::span<const std::uint8_t> rest = section.Rest();
    extra->assign(rest.begin(), rest.end());
}

}  // namespace

std::vector<std::uint8_t> WriteScriptImage(const ScriptImage& image) {
    ByteWriter out;
    out.Bytes("SCR ", 4);
    out.U32(image.reserved);
    PutWords(out, image.globals, image.globalsExtra);
    PutWords(out, image.locals, image.localsExtra);
    out.U32(static_cast<std::uint32_t>(image.code.size()));
    out.Bytes(image.code);
    PutWords(out, image.jumpTable, image.jumpTableExtra);
    ByteWriter labels;
    for (const ScriptLabelRecord& label : image.labels) {
        labels.TerminatedString(label.name);
        labels.U32(label.position);
    }
    labels.Bytes(image.labelsExtra);
    out.U32(static_cast<std::uint32_t>(labels.Size()));
    out.Bytes(labels.Data());
    out.Bytes(image.tail);
    return out.Take();
}

std::optional<ScriptImage> ParseScriptImage(const std::vector<std::uint8_t>& bytes,
                                            std::string* error) {
    ByteReader reader(bytes);
    if (bytes.size() < 28 || reader.FixedString(4) != "SCR ") {
        *error = "not an \"SCR \" file";
        return std::nullopt;
    }
    ScriptImage image;
    image.reserved = reader.U32();
    ReadWords(reader, &image.globals, &image.globalsExtra);
    ReadWords(reader, &image.locals, &image.localsExtra);
    image.code = ReadSection(reader);
    ReadWords(reader, &image.jumpTable, &image.jumpTableExtra);
    const std::vector<std::uint8_t> labels = ReadSection(reader);
    if (reader.Failed()) {
        *error = "a section runs past the end of the file";
        return std::nullopt;
    }
    const std::span<const std::uint8_t> tail = reader.Rest();
    image.tail.assign(tail.begin(), tail.end());
    // Whole records; what follows the last one is kept as it stands.
    ByteReader records(labels);
    while (!records.AtEnd()) {
        ByteReader record = records;
        ScriptLabelRecord label;
        label.name = record.TerminatedString(record.Remaining());
        label.position = record.U32();
        if (record.Failed()) {
            break;
        }
        image.labels.push_back(std::move(label));
        records = record;
    }
    const std::span<const std::uint8_t> extra = records.Rest();
    image.labelsExtra.assign(extra.begin(), extra.end());
    return image;
}
