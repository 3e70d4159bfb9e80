#include "adventure/script_arguments.h"

const char* ScriptArguments::String(std::size_t index, const char* fallback) const {
    if (!Has(index)) {
        return fallback ? fallback : "";
    }
    const char* text = values_[index]->GetString();
    return text ? text : "";
}

std::int32_t ScriptArguments::Long(std::size_t index, std::int32_t fallback) const {
    return Has(index) ? values_[index]->GetLong() : fallback;
}

std::uint32_t ScriptArguments::ULong(std::size_t index, std::uint32_t fallback) const {
    return Has(index) ? values_[index]->GetULong() : fallback;
}

std::uint16_t ScriptArguments::UShort(std::size_t index, std::uint16_t fallback) const {
    return Has(index) ? values_[index]->GetUShort() : fallback;
}

std::uint8_t ScriptArguments::UChar(std::size_t index, std::uint8_t fallback) const {
    return Has(index) ? values_[index]->GetUChar() : fallback;
}

double ScriptArguments::Float(std::size_t index, double fallback) const {
    return Has(index) ? values_[index]->GetFloat() : fallback;
}

std::uint32_t ScriptArguments::Payload(std::size_t index, std::uint32_t fallback) const {
    return Has(index) ? values_[index]->GetPayload() : fallback;
}
