#include "platform/winbase/settings_store_format.h"

#include <cstdio>
#include <optional>

#include "platform/winbase/byte_reader.h"
#include "platform/winbase/byte_writer.h"
#include "platform/winbase/code_page.h"
#include "platform/winbase/hex_digit.h"

namespace {

constexpr char kHeader[] =
    "; qvn settings. Written whole by the program; lines it cannot read are skipped.\n";

bool IsHalfWidthKatakana(BYTE byte) {
    return byte >= 0xA1 && byte <= 0xDF;
}

void AppendQuoted(std::string& out, std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        auto byte = static_cast<BYTE>(bytes[pos]);
        if (Cp932CharLength(bytes, pos) == 2) {
            out.append(bytes.substr(pos, 2));
            pos += 2;
            continue;
        }
        if (byte == '\\' || byte == '"') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if ((byte >= 0x20 && byte < 0x7F && byte != ']') || IsHalfWidthKatakana(byte)) {
            out += static_cast<char>(byte);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", byte);
            out += hex;
        }
        ++pos;
    }
}

void AppendKeyPath(std::string& out, std::string_view path) {
    std::size_t pos = 0;
    while (pos < path.size()) {
        auto byte = static_cast<BYTE>(path[pos]);
        if (Cp932CharLength(path, pos) == 2) {
            out.append(path.substr(pos, 2));
            pos += 2;
            continue;
        }
        if ((byte >= 0x20 && byte < 0x7F && byte != '%') || IsHalfWidthKatakana(byte)) {
            out += static_cast<char>(byte);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%%%02x", byte);
            out += hex;
        }
        ++pos;
    }
}

std::optional<BYTE> HexByte(std::string_view text) {
    if (text.size() != 2) {
        return std::nullopt;
    }
    int high = HexDigit(text[0]);
    int low = HexDigit(text[1]);
    if (high < 0 || low < 0) {
        return std::nullopt;
    }
    return static_cast<BYTE>(high * 16 + low);
}

// Reads the text of `line` from `pos` up to the closing `terminator`; `pos` ends after it.
std::optional<std::string> ReadQuoted(std::string_view line, std::size_t& pos, char terminator) {
    std::string out;
    while (pos < line.size()) {
        if (Cp932CharLength(line, pos) == 2) {
            out.append(line.substr(pos, 2));
            pos += 2;
            continue;
        }
        char c = line[pos];
        if (c == terminator) {
            ++pos;
            return out;
        }
        if (c != '\\') {
            out += c;
            ++pos;
            continue;
        }
        if (pos + 1 >= line.size()) {
            return std::nullopt;
        }
        char escaped = line[pos + 1];
        if (escaped == '\\' || escaped == '"') {
            out += escaped;
            pos += 2;
        } else if (escaped == 'x' && pos + 3 < line.size() && HexByte(line.substr(pos + 2, 2))) {
            out += static_cast<char>(*HexByte(line.substr(pos + 2, 2)));
            pos += 4;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ReadHexBytes(std::string_view list) {
    std::string out;
    if (list.empty()) {
        return out;
    }
    std::size_t pos = 0;
    while (true) {
        std::optional<BYTE> byte = HexByte(list.substr(pos, 2));
        if (!byte) {
            return std::nullopt;
        }
        out += static_cast<char>(*byte);
        pos += 2;
        if (pos == list.size()) {
            return out;
        }
        if (list[pos] != ',' || pos + 1 == list.size()) {
            return std::nullopt;
        }
        ++pos;
    }
}

// The key path between "[" and the final "]".
std::optional<std::string> ReadKeyPath(std::string_view line) {
    if (line.size() < 2 || line.back() != ']') {
        return std::nullopt;
    }
    std::string_view inner = line.substr(1, line.size() - 2);
    std::string out;
    std::size_t pos = 0;
    while (pos < inner.size()) {
        std::size_t length = Cp932CharLength(inner, pos);
        if (length == 1 && inner[pos] == '%') {
            std::optional<BYTE> byte = HexByte(inner.substr(pos + 1, 2));
            if (!byte) {
                return std::nullopt;
            }
            out += static_cast<char>(*byte);
            pos += 3;
            continue;
        }
        out.append(inner.substr(pos, length));
        pos += length;
    }
    return out;
}

std::optional<SettingsValue> ParseValueLine(std::string_view line) {
    std::size_t pos = 1;
    std::optional<std::string> name = ReadQuoted(line, pos, '"');
    if (!name || pos >= line.size() || line[pos] != '=') {
        return std::nullopt;
    }
    std::string_view typeAndData = line.substr(pos + 1);
    SettingsValue value;
    value.name = std::move(*name);
    if (typeAndData.starts_with("dword:")) {
        std::string_view digits = typeAndData.substr(6);
        if (digits.size() != 8) {
            return std::nullopt;
        }
        DWORD number = 0;
        for (char c : digits) {
            int digit = HexDigit(c);
            if (digit < 0) {
                return std::nullopt;
            }
            number = number * 16 + static_cast<DWORD>(digit);
        }
        // A DWORD value holds its 4 bytes little-endian, as a program reads them back.
        value.type = 4;
        ByteWriter bytes;
        bytes.U32(number);
        value.data.assign(bytes.Data().begin(), bytes.Data().end());
        return value;
    }
    if (typeAndData.starts_with("sz:\"")) {
        std::size_t textPos = 4;
        std::optional<std::string> text = ReadQuoted(typeAndData, textPos, '"');
        if (!text || textPos != typeAndData.size()) {
            return std::nullopt;
        }
        value.type = 1;
        value.data = std::move(*text);
        value.data += '\0';
        return value;
    }
    std::string_view list;
    if (typeAndData.starts_with("hex:")) {
        value.type = 3;
        list = typeAndData.substr(4);
    } else if (typeAndData.starts_with("hex(")) {
        std::size_t close = typeAndData.find("):");
        if (close == std::string_view::npos || close < 5 || close > 12) {
            return std::nullopt;
        }
        DWORD type = 0;
        for (char c : typeAndData.substr(4, close - 4)) {
            int digit = HexDigit(c);
            if (digit < 0) {
                return std::nullopt;
            }
            type = type * 16 + static_cast<DWORD>(digit);
        }
        value.type = type;
        list = typeAndData.substr(close + 2);
    } else {
        return std::nullopt;
    }
    std::optional<std::string> bytes = ReadHexBytes(list);
    if (!bytes) {
        return std::nullopt;
    }
    value.data = std::move(*bytes);
    return value;
}

bool IsPlainText(std::string_view data) {
    return !data.empty() && data.back() == '\0' && data.find('\0') == data.size() - 1;
}

}  // namespace

SettingsParseResult ParseSettingsText(std::string_view text) {
    SettingsParseResult result;
    SettingsKey* current = nullptr;
    bool inDamagedKey = false;
    int lineNumber = 0;
    std::size_t start = 0;
    auto damaged = [&] {
        if (result.damagedLines++ == 0) {
            result.firstDamagedLine = lineNumber;
        }
    };
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            continue;
        }
        if (line[0] == '[') {
            std::optional<std::string> path = ReadKeyPath(line);
            if (!path) {
                damaged();
                current = nullptr;
                inDamagedKey = true;  // its values belong to no key we know
                continue;
            }
            current = &result.store.addKey(*path);
            inDamagedKey = false;
            continue;
        }
        std::optional<SettingsValue> value = line[0] == '"' ? ParseValueLine(line) : std::nullopt;
        if (!value || current == nullptr) {
            if (!inDamagedKey || value == std::nullopt) {
                damaged();
            }
            continue;
        }
        current->setValue(value->name, value->type, value->data);
    }
    return result;
}

std::string FormatSettingsText(const SettingsStore& store) {
    std::string out = kHeader;
    for (const SettingsKey& key : store.keys) {
        out += '[';
        AppendKeyPath(out, key.path);
        out += "]\n";
        for (const SettingsValue& value : key.values) {
            out += '"';
            AppendQuoted(out, value.name);
            out += "\"=";
            if (value.type == 4 && value.data.size() == 4) {
                const DWORD number = ByteReader(value.data.data(), value.data.size()).U32();
                char digits[16];
                std::snprintf(digits, sizeof digits, "dword:%08x", number);
                out += digits;
            } else if (value.type == 1 && IsPlainText(value.data)) {
                out += "sz:\"";
                AppendQuoted(out, std::string_view(value.data).substr(0, value.data.size() - 1));
                out += '"';
            } else {
                char prefix[24];
                if (value.type == 3) {
                    std::snprintf(prefix, sizeof prefix, "hex:");
                } else {
                    std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
                }
                out += prefix;
                for (std::size_t i = 0; i < value.data.size(); ++i) {
                    char hex[4];
                    std::snprintf(hex, sizeof hex, i == 0 ? "%02x" : ",%02x",
                                  static_cast<BYTE>(value.data[i]));
                    out += hex;
                }
            }
            out += '\n';
        }
    }
    return out;
}
