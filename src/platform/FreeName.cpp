#include "platform/FreeName.h"

#include <cerrno>

namespace pellmora {

namespace {

// Cuts text to at most bytes bytes without leaving half a UTF-8 sequence at the end; other bytes
// are cut where they fall.
std::string CutAtCharacter(const std::string& text, size_t bytes) {
    if (text.size() <= bytes) return text;
    size_t end = bytes;
    auto isContinuation = [&](size_t i) {
        return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    };
    while (end > 0 && isContinuation(end))
        --end;
    return text.substr(0, end);
}

} // namespace

SplitName SplitExtension(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return {name, ""};
    return {name.substr(0, dot), name.substr(dot)};
}

std::string CandidateName(const std::string& name, int n, size_t maxBytes) {
    SplitName parts = SplitExtension(name);
    const std::string number = n <= 1 ? "" : " (" + std::to_string(n) + ")";
    if (maxBytes > 0 && parts.Base.size() + number.size() + parts.Extension.size() > maxBytes) {
        // Keep the extension when it leaves room for some of the base, so the type stays visible.
        if (parts.Extension.size() + number.size() + 1 > maxBytes / 2) {
            parts.Base += parts.Extension;
            parts.Extension.clear();
        }
        const size_t used = number.size() + parts.Extension.size();
        const size_t room = used < maxBytes ? maxBytes - used : 0;
        parts.Base = CutAtCharacter(parts.Base, room);
    }
    return parts.Base + number + parts.Extension;
}

int PlaceUnderFreeName(const std::string& name, size_t maxBytes,
                       const std::function<int(const std::string&)>& attempt, std::string& chosen) {
    for (int n = 1; n <= MaxFreeNameAttempts; ++n) {
        const std::string candidate = CandidateName(name, n, maxBytes);
        const int error = attempt(candidate);
        if (error == 0) chosen = candidate;
        if (error != EEXIST) return error;
    }
    return EEXIST;
}

} // namespace pellmora
