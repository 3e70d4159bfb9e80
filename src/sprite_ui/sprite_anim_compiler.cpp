#include "sprite_ui/sprite_anim_compiler.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "foundation/byte_reader.h"
#include "sprite_ui/sprite_anim_code.h"
#include "sprite_ui/sprite_data.h"

namespace {

constexpr int kNoByte = -1;

struct Abort {
    const char* reason;
};

class Compiler {
public:
    Compiler(std::span<const std::uint8_t> text, std::int32_t kind, AnimSoundMaker makeSound,
             void* context, std::size_t maxWords, std::vector<std::uint16_t>* codes)
        : text_(text),
          kind_(kind),
          makeSound_(makeSound),
          context_(context),
          maxWords_(maxWords),
          codes_(codes) {}

    AnimCompileResult Run() {
        AnimCompileResult result;
        codes_->clear();
        while (Peek() != kNoByte) {
            const int c = Lower(Peek());
            bool ok = true;
            if (c == 'm') {
                text_.U8();
                ok = Move();
            } else if (c == 's') {
                text_.U8();
                ok = Emit(kAnimTicks) && Emit(static_cast<std::uint16_t>(Integer(0, 0xFFFF)));
            } else if (c == 'p') {
                text_.U8();
                ok = FrameList();
            } else if (c <= 0x20 || c == ',') {
                text_.U8();
            } else {
                abort_ = {"unknown command"};
                ok = false;
            }
            if (!ok) {
                codes_->clear();
                if (tooLarge_) {
                    result.status = AnimCompileStatus::TooLarge;
                } else {
                    result.status = AnimCompileStatus::Aborted;
                    result.offset = text_.Position();
                    result.reason = abort_.reason;
                }
                return result;
            }
        }
        return result;
    }

private:
    static int Lower(int c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }
    static bool IsDigit(int c) { return c >= '0' && c <= '9'; }

    int Peek() const { return text_.Remaining() > 0 ? text_.Rest()[0] : kNoByte; }

    bool Emit(std::uint16_t word) {
        if (codes_->size() >= maxWords_) {
            tooLarge_ = true;
            return false;
        }
        codes_->push_back(word);
        return true;
    }

    // An optional '-', digits, at most one '.' and its fraction digits; 0 consuming nothing when
    // the text does not start so.
    double Number() {
        std::string normal;
        if (Peek() == '-') {
            normal.push_back('-');
            text_.U8();
        }
        std::string whole;
        std::string fraction;
        while (IsDigit(Peek())) {
            whole.push_back(static_cast<char>(text_.U8()));
        }
        if (Peek() == '.') {
            text_.U8();
            while (IsDigit(Peek())) {
                fraction.push_back(static_cast<char>(text_.U8()));
            }
        }
        normal += whole.empty() ? "0" : whole;
        if (!fraction.empty()) {
            normal += "." + fraction;
        }
        double value = 0.0;
        const auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(),
                                                  value, std::chars_format::fixed);
        (void)end;
        if (error == std::errc::result_out_of_range) {
            // Only a huge whole part gets here: hold it at a value every range clamps.
            value = normal[0] == '-' ? -1e300 : 1e300;
        }
        return value;
    }

    // A number truncated toward zero and held to [low, high].
    std::int64_t Integer(std::int64_t low, std::int64_t high) {
        const double value = std::trunc(Number());
        if (!(value >= static_cast<double>(low))) {
            return low;
        }
        if (value >= static_cast<double>(high)) {
            return high;
        }
        return static_cast<std::int64_t>(value);
    }

    void SkipSeparators() {
        while (Peek() == ',' || Peek() == ' ') {
            text_.U8();
        }
    }

    bool Move() {
        if (!Emit(kAnimMove)) {
            return false;
        }
        if (kind_ == kSpriteKind3D) {
            for (int i = 0; i < 3; ++i) {
                if (i > 0) {
                    SkipSeparators();
                }
                const double value = Number();
                constexpr double kMax = std::numeric_limits<float>::max();
                const auto f = static_cast<float>(value > kMax    ? kMax
                                                  : value < -kMax ? -kMax
                                                                  : value);
                std::uint32_t bits = 0;
                std::memcpy(&bits, &f, sizeof bits);
                if (!Emit(static_cast<std::uint16_t>(bits & 0xFFFF)) ||
                    !Emit(static_cast<std::uint16_t>(bits >> 16))) {
                    return false;
                }
            }
            return true;
        }
        const auto dx = static_cast<std::int16_t>(Integer(-32768, 32767));
        SkipSeparators();
        const auto dy = static_cast<std::int16_t>(Integer(-32768, 32767));
        return Emit(static_cast<std::uint16_t>(dx)) && Emit(static_cast<std::uint16_t>(dy));
    }

    bool Frame(std::int64_t frame) {
        if (frame >= kAnimFrameLimit) {
            abort_ = {"frame number 65280 or above"};
            return false;
        }
        return Emit(static_cast<std::uint16_t>(frame));
    }

    bool FrameList() {
        if (!Emit(kAnimFrames)) {
            return false;
        }
        std::int64_t previous = 0;
        for (;;) {
            const int c = Peek();
            if (c == ',' || c == ' ') {
                text_.U8();
            } else if (IsDigit(c)) {
                previous = Integer(0, kAnimFrameLimit);
                if (!Frame(previous)) {
                    return false;
                }
            } else if (c == '-') {
                text_.U8();
                const std::int64_t last = Integer(std::numeric_limits<std::int32_t>::min(),
                                                  std::numeric_limits<std::int32_t>::max());
                if (last >= kAnimFrameLimit) {
                    abort_ = {"frame number 65280 or above"};
                    return false;
                }
                for (std::int64_t frame = previous + 1; frame <= last; ++frame) {
                    if (!Frame(frame)) {
                        return false;
                    }
                }
                previous = last;
            } else if (c == '(') {
                text_.U8();
                if (!Sound()) {
                    return false;
                }
            } else if (c != kNoByte && Lower(c) >= 'a' && Lower(c) <= 'z' && Lower(c) != 'm' &&
                       Lower(c) != 'n' && Lower(c) != 'p' && Lower(c) != 's') {
                text_.U8();
                if (!Emit(kAnimEvent) || !Emit(static_cast<std::uint16_t>(Lower(c) - 'a'))) {
                    return false;
                }
            } else {
                break;
            }
        }
        return Emit(kAnimListEnd);
    }

    bool Sound() {
        std::string name;
        while (Peek() != ')') {
            if (Peek() == kNoByte) {
                abort_ = {"sound name without \")\""};
                return false;
            }
            if (name.size() == kSpriteSoundNameLength) {
                abort_ = {"sound name over 63 characters"};
                return false;
            }
            name.push_back(static_cast<char>(text_.U8()));
        }
        text_.U8();
        const int slot = makeSound_ != nullptr ? makeSound_(name, context_) : -1;
        if (slot < 0) {
            return true;
        }
        return Emit(kAnimSound) && Emit(static_cast<std::uint16_t>(slot));
    }

    ByteReader text_;
    std::int32_t kind_;
    AnimSoundMaker makeSound_;
    void* context_;
    std::size_t maxWords_;
    std::vector<std::uint16_t>* codes_;
    Abort abort_{""};
    bool tooLarge_ = false;
};

}  // namespace

AnimCompileResult CompileAnimationText(std::span<const std::uint8_t> text, std::int32_t kind,
                                       AnimSoundMaker makeSound, void* context,
                                       std::size_t maxWords, std::vector<std::uint16_t>* codes) {
    return Compiler(text, kind, makeSound, context, maxWords, codes).Run();
}
