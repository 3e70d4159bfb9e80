#include "tools/script/script_assembler.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>

#include "foundation/byte_writer.h"
#include "platform/winbase/code_page.h"
#include "script/opcodes.h"
#include "script/script_value.h"
#include "tools/script/script_mnemonics.h"
#include "tools/script/sjis_escape.h"

namespace {

struct Token {
    std::string text;  // a quoted token's contents, escapes still in place
    bool quoted = false;
};

struct JumpReference {
    std::size_t offset = 0;  // of the index field in the code
    std::string anchor;      // empty: an explicit index
    std::uint32_t index = 0;
    int line = 0;
};

// A jump-table entry: an anchor or a fixed position.
struct TableEntry {
    std::string anchor;
    std::uint32_t position = 0;
};

class Assembler {
public:
    explicit Assembler(std::string_view sourceName) : sourceName_(sourceName) {}

    AssembleResult Run(std::string_view source);

private:
    bool Fail(const std::string& message) {
        if (error_.empty()) {
            error_ = std::string(sourceName_) + ":" + std::to_string(line_) + ": " + message;
        }
        return false;
    }

    bool Tokenize(std::string_view line, std::vector<Token>* tokens);
    bool Line(const std::vector<Token>& tokens);
    bool Directive(const std::vector<Token>& tokens);
    bool Instruction(const std::vector<Token>& tokens);
    bool Push(const Token& operand, int depth);
    bool Finish();

    // A quoted token's bytes (escapes applied) or a bare token converted to Shift-JIS.
    bool Text(const Token& token, std::string* sjis);
    bool Integer(const Token& token, std::uint32_t* value);
    bool Bytes(const std::vector<Token>& tokens, std::size_t first, std::vector<std::uint8_t>* out);
    bool Expect(const std::vector<Token>& tokens, std::size_t count);

    std::string_view sourceName_;
    int line_ = 0;
    std::string error_;
    ScriptImage image_;  // all but the code, which is built in `code_`
    ByteWriter code_;
    std::map<std::string, std::uint32_t> anchors_;
    std::map<std::string, std::string> aliases_;
    std::vector<TableEntry> table_;
    std::vector<JumpReference> jumps_;
};

bool Assembler::Tokenize(std::string_view line, std::vector<Token>* tokens) {
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == ';') {
            break;
        }
        Token token;
        if (c == '"') {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    token.text += line.substr(i, 2);
                    i += 2;
                    continue;
                }
                if (line[i] == '"') {
                    closed = true;
                    ++i;
                    break;
                }
                token.text += line[i++];
            }
            if (!closed) {
                return Fail("a quoted text is not closed");
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' &&
                   line[i] != ';' && line[i] != '"') {
                token.text += line[i++];
            }
        }
        tokens->push_back(std::move(token));
    }
    return true;
}

bool Assembler::Text(const Token& token, std::string* sjis) {
    if (token.quoted) {
        std::string message;
        std::optional<std::string> bytes = UnescapeToSjis(token.text, &message);
        if (!bytes) {
            return Fail(message);
        }
        *sjis = std::move(*bytes);
        return true;
    }
    std::optional<std::string> bytes = Utf8ToCp932(token.text);
    if (!bytes) {
        return Fail("text does not convert to Shift-JIS: " + token.text);
    }
    *sjis = std::move(*bytes);
    return true;
}

bool Assembler::Integer(const Token& token, std::uint32_t* value) {
    if (token.quoted || token.text.empty()) {
        return Fail("a number is expected, not \"" + token.text + "\"");
    }
    // Decimal, or hexadecimal after "0x": a leading zero never means octal.
    const std::string& text = token.text;
    const std::size_t digits = text[0] == '-' || text[0] == '+' ? 1 : 0;
    const bool hex = text.size() > digits + 1 && text[digits] == '0' &&
                     (text[digits + 1] == 'x' || text[digits + 1] == 'X');
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0' || parsed < -2147483648LL || parsed > 4294967295LL) {
        return Fail("not a 32-bit number: " + token.text);
    }
    *value = static_cast<std::uint32_t>(parsed);
    return true;
}

bool Assembler::Bytes(const std::vector<Token>& tokens, std::size_t first,
                      std::vector<std::uint8_t>* out) {
    for (std::size_t i = first; i < tokens.size(); ++i) {
        const std::string& text = tokens[i].text;
        char* end = nullptr;
        const unsigned long byte = std::strtoul(text.c_str(), &end, 16);
        if (tokens[i].quoted || text.empty() || text.size() > 2 || *end != '\0' || byte > 0xFF) {
            return Fail("a hexadecimal byte is expected, not \"" + text + "\"");
        }
        out->push_back(static_cast<std::uint8_t>(byte));
    }
    return true;
}

bool Assembler::Expect(const std::vector<Token>& tokens, std::size_t count) {
    if (tokens.size() != count) {
        return Fail(tokens[0].text + " takes " + std::to_string(count - 1) + " operand(s)");
    }
    return true;
}

bool Assembler::Directive(const std::vector<Token>& tokens) {
    const std::string& name = tokens[0].text;
    if (name == ".reserved") {
        return Expect(tokens, 2) && Integer(tokens[1], &image_.reserved);
    }
    if (name == ".globals" || name == ".locals") {
        auto& values = name == ".globals" ? image_.globals : image_.locals;
        for (std::size_t i = 1; i < tokens.size(); ++i) {
            std::uint32_t value = 0;
            if (!Integer(tokens[i], &value)) {
                return false;
            }
            values.push_back(value);
        }
        return true;
    }
    if (name == ".jumptable") {
        for (std::size_t i = 1; i < tokens.size(); ++i) {
            TableEntry entry;
            if (!tokens[i].quoted && tokens[i].text.size() > 1 && tokens[i].text[0] == '@') {
                entry.anchor = tokens[i].text.substr(1);
            } else if (!Integer(tokens[i], &entry.position)) {
                return false;
            }
            table_.push_back(std::move(entry));
        }
        return true;
    }
    if (name == ".label") {
        ScriptLabelRecord record;
        if (!Expect(tokens, 3) || !Text(tokens[1], &record.name) ||
            !Integer(tokens[2], &record.position)) {
            return false;
        }
        image_.labels.push_back(std::move(record));
        return true;
    }
    if (name == ".extra") {
        if (tokens.size() < 2) {
            return Fail(".extra needs a section");
        }
        const std::string& section = tokens[1].text;
        std::vector<std::uint8_t>* target = nullptr;
        if (section == "globals") {
            target = &image_.globalsExtra;
        } else if (section == "locals") {
            target = &image_.localsExtra;
        } else if (section == "jumptable") {
            target = &image_.jumpTableExtra;
        } else if (section == "labels") {
            target = &image_.labelsExtra;
        } else if (section == "tail") {
            target = &image_.tail;
        } else {
            return Fail("unknown section: " + section);
        }
        return Bytes(tokens, 2, target);
    }
    if (name == ".bytes") {
        std::vector<std::uint8_t> bytes;
        if (!Bytes(tokens, 1, &bytes)) {
            return false;
        }
        code_.Bytes(bytes);
        return true;
    }
    if (name == ".alias") {
        if (!Expect(tokens, 3) || tokens[1].quoted) {
            return Fail(".alias takes a name and an operand");
        }
        if (tokens[2].quoted) {
            return Fail(".alias names a variable or a number, not a text");
        }
        aliases_[tokens[1].text] = tokens[2].text;
        return true;
    }
    return Fail("unknown directive: " + name);
}

bool Assembler::Push(const Token& operand, int depth) {
    if (operand.quoted) {
        std::string sjis;
        if (!Text(operand, &sjis)) {
            return false;
        }
        code_.U8(kOpPush);
        code_.U8(10);
        code_.TerminatedString(sjis);
        return true;
    }
    const std::string& text = operand.text;
    const auto alias = aliases_.find(text);
    if (alias != aliases_.end()) {
        if (depth > 8) {
            return Fail("aliases refer to each other: " + text);
        }
        return Push(Token{alias->second, false}, depth + 1);
    }
    if (text.size() > 1 && (text[0] == 'g' || text[0] == 'l') &&
        std::strspn(text.c_str() + 1, "0123456789") == text.size() - 1) {
        std::uint32_t index = 0;
        if (!Integer(Token{text.substr(1), false}, &index)) {
            return false;
        }
        code_.U8(kOpPush);
        code_.U8(text[0] == 'g' ? 11 : kTagLocal);
        code_.U32(index);
        return true;
    }
    if (text.rfind("float(", 0) == 0 && text.back() == ')') {
        std::uint32_t bits = 0;
        if (!Integer(Token{text.substr(6, text.size() - 7), false}, &bits)) {
            return false;
        }
        code_.U8(kOpPush);
        code_.U8(9);
        code_.U32(bits);
        return true;
    }
    const bool hex = text.find("0x") != std::string::npos || text.find("0X") != std::string::npos;
    if (!hex && text.find_first_of(".eE") != std::string::npos) {
        errno = 0;
        char* end = nullptr;
        const float value = std::strtof(text.c_str(), &end);
        if (errno != 0 || *end != '\0') {
            return Fail("not a float: " + text);
        }
        code_.U8(kOpPush);
        code_.U8(9);
        code_.F32(value);
        return true;
    }
    std::uint32_t value = 0;
    if (!Integer(operand, &value)) {
        return false;
    }
    code_.U8(kOpPush);
    code_.U8(6);
    code_.U32(value);
    return true;
}

bool Assembler::Instruction(const std::vector<Token>& tokens) {
    const std::string& name = tokens[0].text;
    if (name == "cast") {
        if (!Expect(tokens, 2)) {
            return false;
        }
        const std::optional<std::uint8_t> type = CastTypeByName(tokens[1].text);
        if (!type) {
            return Fail("unknown cast type: " + tokens[1].text);
        }
        code_.U8(kOpOperator);
        code_.U8(kOpCast);
        code_.U8(*type);
        return true;
    }
    if (const std::optional<std::uint8_t> sub = OperatorByName(name)) {
        if (!Expect(tokens, 1)) {
            return false;
        }
        code_.U8(kOpOperator);
        code_.U8(*sub);
        return true;
    }
    if (name == "set") {
        // set VARIABLE VALUE: push VALUE, push VARIABLE, assign, pop.
        if (!Expect(tokens, 3) || !Push(tokens[2], 0) || !Push(tokens[1], 0)) {
            return false;
        }
        code_.U8(kOpOperator);
        code_.U8(kOpAssign);
        code_.U8(kOpPop);
        return true;
    }
    if (name == "invoke") {
        // invoke NUMBER ARG...: push each argument, call with their count, pop the result.
        if (tokens.size() < 2) {
            return Fail("invoke takes a function number and its arguments");
        }
        if (tokens.size() - 2 > 255) {
            return Fail("a call takes at most 255 arguments");
        }
        std::uint32_t number = 0;
        if (!Integer(tokens[1], &number)) {
            return false;
        }
        for (std::size_t i = 2; i < tokens.size(); ++i) {
            if (!Push(tokens[i], 0)) {
                return false;
            }
        }
        code_.U8(kOpCall);
        code_.U32(number);
        code_.U8(static_cast<std::uint8_t>(tokens.size() - 2));
        code_.U8(kOpPop);
        return true;
    }
    const std::optional<std::uint8_t> opcode = OpcodeByName(name);
    if (!opcode) {
        return Fail("unknown instruction: " + name);
    }
    switch (*opcode) {
        case kOpPush:
            return Expect(tokens, 2) && Push(tokens[1], 0);
        case kOpPop:
        case kOpReturn:
            if (!Expect(tokens, 1)) {
                return false;
            }
            code_.U8(*opcode);
            return true;
        case kOpJump:
        case kOpFJump:
        case kOpTJump:
        case kOpEJump: {
            if (!Expect(tokens, 2)) {
                return false;
            }
            JumpReference jump;
            jump.line = line_;
            const std::string& target = tokens[1].text;
            if (!tokens[1].quoted && target.size() > 1 && target[0] == '@') {
                jump.anchor = target.substr(1);
            } else if (!tokens[1].quoted && target.size() > 1 && target[0] == '#') {
                if (!Integer(Token{target.substr(1), false}, &jump.index)) {
                    return false;
                }
            } else {
                return Fail("a jump goes to @anchor or #index, not " + target);
            }
            code_.U8(*opcode);
            jump.offset = code_.Size();
            code_.U32(0);
            jumps_.push_back(std::move(jump));
            return true;
        }
        case kOpGoto:
        case kOpText: {
            std::string sjis;
            if (!Expect(tokens, 2) || !Text(tokens[1], &sjis)) {
                return false;
            }
            code_.U8(*opcode);
            code_.TerminatedString(sjis);
            return true;
        }
        case kOpJumpFile:
        case kOpCallFile: {
            std::string file;
            std::string label;
            if (!Expect(tokens, 3) || !Text(tokens[1], &file) || !Text(tokens[2], &label)) {
                return false;
            }
            code_.U8(*opcode);
            code_.TerminatedString(file);
            code_.TerminatedString(label);
            return true;
        }
        default: {  // kOpCall
            std::uint32_t number = 0;
            std::uint32_t count = 0;
            if (!Expect(tokens, 3) || !Integer(tokens[1], &number) || !Integer(tokens[2], &count)) {
                return false;
            }
            if (count > 255) {
                return Fail("a call takes at most 255 arguments");
            }
            code_.U8(kOpCall);
            code_.U32(number);
            code_.U8(static_cast<std::uint8_t>(count));
            return true;
        }
    }
}

bool Assembler::Line(const std::vector<Token>& tokens) {
    const Token& first = tokens[0];
    if (!first.quoted && !first.text.empty() && first.text[0] == '*') {
        ScriptLabelRecord record;
        record.position = static_cast<std::uint32_t>(code_.Size());
        if (first.text == "*" && tokens.size() == 2 && tokens[1].quoted) {
            if (!Text(tokens[1], &record.name)) {
                return false;
            }
        } else if (tokens.size() == 1) {
            if (!Text(Token{first.text.substr(1), false}, &record.name)) {
                return false;
            }
        } else {
            return Fail("a label line holds only the label");
        }
        image_.labels.push_back(std::move(record));
        return true;
    }
    if (!first.quoted && first.text.size() > 1 && first.text[0] == '@') {
        if (tokens.size() != 1) {
            return Fail("an anchor line holds only the anchor");
        }
        const std::string anchor = first.text.substr(1);
        if (!anchors_.emplace(anchor, static_cast<std::uint32_t>(code_.Size())).second) {
            return Fail("anchor defined twice: @" + anchor);
        }
        return true;
    }
    if (first.quoted) {
        return Fail("a line begins with an instruction, a label or a directive");
    }
    if (first.text[0] == '.') {
        return Directive(tokens);
    }
    return Instruction(tokens);
}

bool Assembler::Finish() {
    for (const JumpReference& jump : jumps_) {
        std::uint32_t index = jump.index;
        if (!jump.anchor.empty()) {
            line_ = jump.line;
            if (anchors_.find(jump.anchor) == anchors_.end()) {
                return Fail("undefined anchor: @" + jump.anchor);
            }
            std::size_t i = 0;
            while (i < table_.size() && table_[i].anchor != jump.anchor) {
                ++i;
            }
            if (i == table_.size()) {
                table_.push_back(TableEntry{jump.anchor, 0});
            }
            index = static_cast<std::uint32_t>(i);
        }
        code_.PatchU32(jump.offset, index);
    }
    for (const TableEntry& entry : table_) {
        if (entry.anchor.empty()) {
            image_.jumpTable.push_back(entry.position);
            continue;
        }
        const auto found = anchors_.find(entry.anchor);
        if (found == anchors_.end()) {
            return Fail("undefined anchor in the jump table: @" + entry.anchor);
        }
        image_.jumpTable.push_back(found->second);
    }
    return true;
}

AssembleResult Assembler::Run(std::string_view source) {
    AssembleResult result;
    if (source.substr(0, 3) == "\xEF\xBB\xBF") {
        source.remove_prefix(3);  // a UTF-8 byte-order mark
    }
    std::size_t start = 0;
    while (start <= source.size() && error_.empty()) {
        std::size_t end = source.find('\n', start);
        if (end == std::string_view::npos) {
            end = source.size();
        }
        ++line_;
        std::vector<Token> tokens;
        if (Tokenize(source.substr(start, end - start), &tokens) && !tokens.empty()) {
            Line(tokens);
        }
        start = end + 1;
    }
    if (error_.empty()) {
        Finish();
    }
    result.ok = error_.empty();
    result.error = error_;
    if (result.ok) {
        image_.code = code_.Take();
        result.image = std::move(image_);
    }
    return result;
}

}  // namespace

AssembleResult AssembleScriptImage(std::string_view source, std::string_view sourceName) {
    return Assembler(sourceName).Run(source);
}

bool AssembleScript(std::string_view source, std::string_view sourceName,
                    std::vector<std::uint8_t>* bytes, std::string* error) {
    AssembleResult result = AssembleScriptImage(source, sourceName);
    if (!result.ok) {
        *error = result.error;
        return false;
    }
    *bytes = WriteScriptImage(result.image);
    return true;
}
