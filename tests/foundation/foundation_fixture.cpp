#include "foundation_fixture.h"

#include "foundation/foundation_test.h"
#include "platform/winbase/file_api.h"

namespace foundation_testing {

void FoundationTest::SetUp() {
    dir_ = std::make_unique<qvn::test::TempProgramDir>();
    foundation_test::ResetState();
}

void FoundationTest::TearDown() {
    foundation_test::ResetState();
    dir_.reset();
}

std::string FoundationTest::WinPath(const std::string& relative) const {
    return dir_->windowsPath() + relative;
}

std::vector<std::string> FoundationTest::LogLines() const {
    std::vector<std::string> lines;
    const std::string text = LogText();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string TakeBuffer(unsigned char* data, const unsigned& size) {
    if (data == nullptr) {
        return std::string();
    }
    std::string bytes(reinterpret_cast<const char*>(data), size);
    LocalFree(data);
    return bytes;
}

}  // namespace foundation_testing
