#include "tools/script/script_dumper.h"

#include <cinttypes>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

#include "foundation/byte_reader.h"
#include "script/opcodes.h"
#include "tools/script/script_mnemonics.h"
#include "tools/script/sjis_escape.h"

namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char buffer[128];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

std::string Quote(std::string_view sjis) {
    return "\"" + EscapeSjis(sjis, EscapeStyle::kLiteral) + "\"";
}

// A label name that reads back unchanged as a bare word.
bool IsBareName(std::string_view sjis) {
    if (sjis.empty()) {
        return false;
    }
    const std::string shown = EscapeSjis(sjis, EscapeStyle::kLiteral);
    return shown.find_first_of(" \t;\"\\") == std::string::npos;
}

std::string FloatLiteral(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    if (std::isfinite(value)) {
        std::string text = Format("%.9g", static_cast<double>(value));
        if (text.find_first_of(".e") == std::string::npos) {
            text += ".0";
        }
        const float back = std::strtof(text.c_str(), nullptr);
        std::uint32_t backBits;
        std::memcpy(&backBits, &back, sizeof backBits);
        if (backBits == bits) {
            return text;
        }
    }
    return Format("float(0x%08X)", bits);
}

std::string AnchorName(std::uint32_t position) {
    return Format("@L%04X", position);
}

void HexLines(std::string& out, const char* prefix, const std::vector<std::uint8_t>& bytes) {
    for (std::size_t i = 0; i < bytes.size(); i += 16) {
        out += prefix;
        for (std::size_t j = i; j < bytes.size() && j < i + 16; ++j) {
            out += Format(" %02X", bytes[j]);
        }
        out += "\n";
    }
}

void WordLines(std::string& out, const char* directive, const std::vector<std::uint32_t>& words) {
    for (std::size_t i = 0; i < words.size(); i += 8) {
        out += directive;
        for (std::size_t j = i; j < words.size() && j < i + 8; ++j) {
            out += Format(" %" PRId32, static_cast<std::int32_t>(words[j]));
        }
        out += "\n";
    }
}

// One decoded instruction as text; `jumpTargets` gives the jump targets' anchors. The
// instruction at `pos` has been decoded whole, so every read lies inside the code.
std::string InstructionText(const ScriptImage& image, std::size_t pos,
                            const std::vector<std::string>& jumpTargets) {
    ByteReader reader(image.code);
    reader.Seek(pos);
    auto text = [&reader]() { return reader.TerminatedString(reader.Remaining()); };
    const std::uint8_t opcode = reader.U8();
    switch (opcode) {
        case kOpPush: {
            const std::uint8_t tag = reader.U8();
            if (tag == 10) {
                return "push " + Quote(text());
            }
            const std::uint32_t value = reader.U32();
            switch (tag) {
                case 6:
                    return Format("push %" PRId32, static_cast<std::int32_t>(value));
                case 9:
                    return "push " + FloatLiteral(value);
                case 11:
                    return Format("push g%" PRIu32, value);
                default:
                    return Format("push l%" PRIu32, value);
            }
        }
        case kOpOperator: {
            const std::uint8_t sub = reader.U8();
            if (sub == kOpCast) {
                return "cast " + std::string(CastTypeName(reader.U8()));
            }
            return std::string(OperatorName(sub));
        }
        case kOpJump:
        case kOpFJump:
        case kOpTJump:
        case kOpEJump: {
            const std::uint32_t index = reader.U32();
            std::string target = Format("#%" PRIu32, index);
            if (index < jumpTargets.size() && !jumpTargets[index].empty()) {
                target = jumpTargets[index];
            }
            return std::string(OpcodeName(opcode)) + " " + target;
        }
        case kOpGoto:
        case kOpText:
            return std::string(OpcodeName(opcode)) + " " + Quote(text());
        case kOpJumpFile:
        case kOpCallFile: {
            const std::string file = text();
            const std::string label = text();
            return std::string(OpcodeName(opcode)) + " " + Quote(file) + " " + Quote(label);
        }
        case kOpCall: {
            const std::uint32_t number = reader.U32();
            return Format("call %" PRIu32 " %u", number, reader.U8());
        }
        default:
            return std::string(OpcodeName(opcode));
    }
}

}  // namespace

std::string DumpScriptImage(const ScriptImage& image) {
    const std::vector<std::uint8_t>& code = image.code;
    std::vector<std::size_t> starts;
    std::size_t pos = 0;
    while (pos < code.size()) {
        const DecodedInstruction instruction = DecodeInstruction(code.data(), code.size(), pos);
        if (instruction.status != DecodeStatus::kOk) {
            break;
        }
        starts.push_back(pos);
        pos += instruction.length;
    }
    const std::size_t rawFrom = pos;
    std::set<std::uint32_t> boundaries(starts.begin(), starts.end());
    if (rawFrom == code.size()) {
        boundaries.insert(static_cast<std::uint32_t>(code.size()));
    }

    bool inlineLabels = true;
    for (std::size_t i = 0; i < image.labels.size(); ++i) {
        const ScriptLabelRecord& label = image.labels[i];
        if (boundaries.count(label.position) == 0 ||
            (i > 0 && label.position < image.labels[i - 1].position)) {
            inlineLabels = false;
        }
    }
    std::vector<std::string> tableAnchors(image.jumpTable.size());
    // A jump names its entry by anchor only where that entry is the anchor's first in the
    // table, since the assembler resolves an anchor to its first entry.
    std::vector<std::string> jumpTargets(image.jumpTable.size());
    std::set<std::uint32_t> anchored;
    for (std::size_t i = 0; i < image.jumpTable.size(); ++i) {
        if (boundaries.count(image.jumpTable[i]) != 0) {
            tableAnchors[i] = AnchorName(image.jumpTable[i]);
            if (anchored.insert(image.jumpTable[i]).second) {
                jumpTargets[i] = tableAnchors[i];
            }
        }
    }

    std::string out;
    if (image.reserved != 0) {
        out += Format(".reserved 0x%08X\n", image.reserved);
    }
    WordLines(out, ".globals", image.globals);
    HexLines(out, ".extra globals", image.globalsExtra);
    WordLines(out, ".locals", image.locals);
    HexLines(out, ".extra locals", image.localsExtra);
    for (std::size_t i = 0; i < image.jumpTable.size(); i += 8) {
        out += ".jumptable";
        for (std::size_t j = i; j < image.jumpTable.size() && j < i + 8; ++j) {
            out += " " + (tableAnchors[j].empty() ? Format("%" PRIu32, image.jumpTable[j])
                                                  : tableAnchors[j]);
        }
        out += "\n";
    }
    HexLines(out, ".extra jumptable", image.jumpTableExtra);
    if (!inlineLabels) {
        for (const ScriptLabelRecord& label : image.labels) {
            out += ".label " + Quote(label.name) + Format(" %" PRIu32 "\n", label.position);
        }
    }
    HexLines(out, ".extra labels", image.labelsExtra);
    HexLines(out, ".extra tail", image.tail);

    std::size_t nextLabel = 0;
    auto marks = [&](std::uint32_t position) {
        while (inlineLabels && nextLabel < image.labels.size() &&
               image.labels[nextLabel].position == position) {
            const std::string& name = image.labels[nextLabel].name;
            out += IsBareName(name) ? "\n*" + EscapeSjis(name, EscapeStyle::kLiteral) + "\n"
                                    : "\n* " + Quote(name) + "\n";
            ++nextLabel;
        }
        if (anchored.count(position) != 0) {
            out += AnchorName(position) + "\n";
        }
    };
    for (const std::size_t start : starts) {
        marks(static_cast<std::uint32_t>(start));
        out += "    " + InstructionText(image, start, jumpTargets) + "\n";
    }
    if (rawFrom < code.size()) {
        HexLines(out, "    .bytes",
                 std::vector<std::uint8_t>(code.begin() + static_cast<std::ptrdiff_t>(rawFrom),
                                           code.end()));
    } else {
        marks(static_cast<std::uint32_t>(code.size()));
    }
    return out;
}

std::string DumpStateBlock(const std::vector<std::uint8_t>& block, std::string* error) {
    ByteReader reader(block);
    std::string out;
    const std::uint32_t size = reader.U32();
    const std::uint32_t magic = reader.U32();
    if (reader.Failed() || magic != 0x4D524353u) {
        *error = "not an \"SCRM\" block";
        return {};
    }
    out += Format("size %" PRIu32 " (%zu bytes present)\n", size, block.size());
    std::uint32_t count = reader.U32();
    if (reader.Failed() || count > reader.Remaining() / 4) {
        *error = "the variables run past the end";
        return {};
    }
    out += Format("variables %" PRIu32 "\n", count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t value = reader.U32();
        out += Format("  var %" PRIu32 " %" PRId32 "\n", i, static_cast<std::int32_t>(value));
    }
    const std::uint32_t globals = reader.U32();
    count = reader.U32();
    if (reader.Failed()) {
        *error = "the block ends early";
        return {};
    }
    out += Format("globals %" PRIu32 "\noperands %" PRIu32 "\n", globals, count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t operandClass = reader.U8();
        const std::uint8_t type = reader.U8();
        const std::uint32_t payload = reader.U32();
        const std::string value = reader.TerminatedString(reader.Remaining());
        if (reader.Failed()) {
            *error = "an operand runs past the end";
            return {};
        }
        out +=
            Format("  operand class %u type %u payload 0x%08X text ", operandClass, type, payload) +
            Quote(value) + "\n";
    }
    count = reader.U32();
    if (reader.Failed()) {
        *error = "the block ends early";
        return {};
    }
    out += Format("frames %" PRIu32 "\n", count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string name = reader.TerminatedString(reader.Remaining());
        const std::uint32_t position = reader.U32();
        if (reader.Failed()) {
            *error = "a frame runs past the end";
            return {};
        }
        out += "  frame " + Quote(name) + Format(" pos 0x%08X\n", position);
    }
    const std::uint8_t wait = reader.U8();
    if (reader.Failed()) {
        *error = "the wait flag is missing";
        return {};
    }
    out += Format("wait %u\n", wait);
    return out;
}
